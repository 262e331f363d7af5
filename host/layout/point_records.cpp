#include "host/layout/point_records.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/layout/utf8_text.h"
#include "text/line_cursor.h"
#include "text/m5_line.h"

namespace m5host {

namespace {

std::wstring_view Trim(std::wstring_view text) {
  std::size_t first = 0;
  while (first < text.size() && std::iswspace(static_cast<wint_t>(text[first]))) {
    ++first;
  }
  std::size_t last = text.size();
  while (last > first && std::iswspace(static_cast<wint_t>(text[last - 1]))) {
    --last;
  }
  return text.substr(first, last - first);
}

std::wstring_view NextField(std::wstring_view& line) {
  const auto bar = line.find(m5::text::kFieldSeparator);
  const std::wstring_view field = line.substr(0, bar);
  line = bar == std::wstring_view::npos ? std::wstring_view() : line.substr(bar + 1);
  return field;
}

// The data blocks' types of an observed distance: slope (SD, D) or horizontal (HD, E).
RecordHolds HoldsOf(std::wstring_view blocks) {
  while (!blocks.empty()) {
    const std::wstring_view block = Trim(NextField(blocks));
    const std::wstring_view type = block.substr(0, block.find(L' '));
    if (type == L"SD" || type == L"D" || type == L"HD" || type == L"E") {
      return RecordHolds::Distance;
    }
  }
  return RecordHolds::NoDistance;
}

}  // namespace

EncodingChoice ChoiceFor(TextKind kind) {
  return kind == TextKind::Utf8 || kind == TextKind::Utf16 || kind == TextKind::Utf8Mark ||
                 kind == TextKind::Utf16Mark
             ? EncodingChoice::Utf8
             : EncodingChoice::Win1251;
}

std::string Describe(TextKind kind) {
  switch (kind) {
    case TextKind::Ascii:
      return "plain ASCII (no byte above 0x7F)";
    case TextKind::Utf8Mark:
      return "UTF-8 with a byte-order mark";
    case TextKind::Utf16Mark:
      return "UTF-16 with a byte-order mark";
    case TextKind::Utf16:
      return "UTF-16 without a byte-order mark (zero bytes in every other place)";
    case TextKind::Utf8:
      return "UTF-8 (valid UTF-8 beyond ASCII)";
    case TextKind::Windows1251:
      return "Windows-1251 (bytes above 0x7F that are not UTF-8)";
  }
  return {};
}

TextKind ClassifyText(std::string_view bytes, SampleEnd end) {
  // The plug-in's own decision under the Unicode setting tells the marks and 16-bit text.
  const m5::text::DecidedReading unicode =
      m5::text::DecideReading(bytes, m5::text::EncodingSetting::Unicode);
  if (unicode.markLength != 0) {
    return unicode.reading == m5::text::Reading::Utf8 ? TextKind::Utf8Mark : TextKind::Utf16Mark;
  }
  if (unicode.reading != m5::text::Reading::Utf8) {
    return TextKind::Utf16;
  }
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    return TextKind::Ascii;
  }
  return ReadsAsUtf8(bytes, end) ? TextKind::Utf8 : TextKind::Windows1251;
}

PointRecords ScanPointRecords(std::string_view bytes, std::size_t maxRecords, SampleEnd end) {
  PointRecords records;
  records.kind = ClassifyText(bytes, end);
  // The lines as the plug-in reads them under the setting proposed for the file.
  m5::text::CLineCursor lines(bytes, ChoiceFor(records.kind) == EncodingChoice::Utf8
                                         ? m5::text::EncodingSetting::Unicode
                                         : m5::text::EncodingSetting::Win1251);
  records.reading = lines.Decided().reading;
  // The last line of a sample cut from a longer file may be cut too: it is not read.
  const bool lastLineCut = end == SampleEnd::Cut && lines.Count() != 0 &&
                           !m5::text::EndsAtLineEnd(bytes, lines.Decided());
  const std::size_t count = lastLineCut ? lines.Count() - 1 : lines.Count();
  for (std::size_t number = 1; number <= count; ++number) {
    std::wstring_view line = Trim(lines.Next());
    if (line.empty()) {
      continue;
    }
    const std::wstring_view format = NextField(line);
    if (m5::text::IsEndIdentifier(format)) {
      continue;
    }
    if (!m5::text::IsFormatIdentifier(format)) {
      records.stopLine = static_cast<int>(number);
      break;  // the import stops here too
    }
    ++records.m5Lines;
    NextField(line);  // the address
    const std::wstring_view info = NextField(line);
    if (!m5::text::IsPointRecord(m5::text::RecordType(info))) {
      continue;
    }
    records.texts.emplace_back(m5::text::RecordText(info).substr(0, m5::text::kPointIdWidth));
    records.places.push_back({static_cast<int>(number - 1), HoldsOf(line)});
    if (maxRecords != 0 && records.texts.size() >= maxRecords) {
      break;
    }
  }
  return records;
}

// Generous for one M5 line (about 120 bytes, twice that in UTF-16).
constexpr std::size_t kBytesPerRecord = 512;

std::optional<PointRecords> ReadPointRecords(const std::string& path, std::string& error,
                                             std::size_t maxRecords) {
  std::error_code code;
  if (std::filesystem::is_directory(std::filesystem::u8path(path), code)) {
    error = path + ": a folder, not a file";
    return std::nullopt;
  }
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  std::string bytes;
  SampleEnd end = SampleEnd::Whole;
  try {
    if (in && maxRecords != 0) {
      // A few records tell the layout: only the start of a large survey is read, so that a
      // hint after an import costs nothing next to the import.
      bytes.resize(maxRecords * kBytesPerRecord);
      in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (in.gcount() == static_cast<std::streamsize>(bytes.size())) {
        end = SampleEnd::Cut;
      }
      bytes.resize(static_cast<std::size_t>(in.gcount()));
      in.clear(in.rdstate() & ~(std::ios::failbit | std::ios::eofbit));
    } else if (in) {
      bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
  } catch (const std::ios_base::failure&) {
    // The stream library reports a failed read by throwing, whatever its exception mask.
    in.setstate(std::ios::badbit);
  }
  if (!in.is_open() || in.bad()) {
    error = path + ": cannot read the file";
    return std::nullopt;
  }
  return ScanPointRecords(bytes, maxRecords, end);
}

}  // namespace m5host
