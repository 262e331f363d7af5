#include "host/layout/field_file.h"

#include <filesystem>
#include <fstream>

#include "host/layout/point_records.h"
#include "host/os/text_encoding.h"
#include "text/line_cursor.h"
#include "text/m5_line.h"

namespace m5host {

namespace {

// The set-up records of the 3600 series, which the import opens a station with.
constexpr std::wstring_view kSetUps[] = {L"STAT. KNWN. PNT.", L"STAT. KNOWN POINT/",
                                         L"FREE STATIONING", L"HEIGHTSTATIONING",
                                         L"Eccentric Station"};
// How other total stations write theirs.
constexpr std::wstring_view kOtherSetUps[] = {L"KN STAT", L"POLAR", L"OR.COOR"};

// Enough lines for the first set-up of any survey.
constexpr std::size_t kSampleBytes = 256 * 1024;

std::wstring_view Field(std::wstring_view line, int index) {
  for (int i = 0; i < index; ++i) {
    const auto bar = line.find(m5::text::kFieldSeparator);
    if (bar == std::wstring_view::npos) {
      return {};
    }
    line.remove_prefix(bar + 1);
  }
  return line.substr(0, line.find(m5::text::kFieldSeparator));
}

template <std::size_t N>
std::optional<std::wstring_view> FoundIn(std::wstring_view text,
                                         const std::wstring_view (&words)[N]) {
  for (const std::wstring_view word : words) {
    if (text.find(word) != std::wstring_view::npos) {
      return word;
    }
  }
  return std::nullopt;
}

}  // namespace

FieldFile JudgeFieldFile(std::string_view bytes) {
  m5::text::CLineCursor lines(bytes, ChoiceFor(ClassifyText(bytes)) == EncodingChoice::Utf8
                                         ? m5::text::EncodingSetting::Unicode
                                         : m5::text::EncodingSetting::Win1251);
  FieldFile found;
  for (std::size_t n = 0; n < lines.Count(); ++n) {
    const std::wstring_view info = Field(lines.Next(), 2);
    const std::wstring_view type = m5::text::RecordType(info);
    if (m5::text::IsRecordType(type, L'T', L'O') && found.kind == FieldFileKind::Unknown) {
      found = {FieldFileKind::DigitalLevel, "TO"};
    }
    if (!m5::text::IsTextRecord(type)) {
      continue;
    }
    const std::wstring_view text = m5::text::RecordText(info);
    if (FoundIn(text, kSetUps)) {
      return {FieldFileKind::SetUps, {}};
    }
    if (const auto other = FoundIn(text, kOtherSetUps);
        other && found.kind == FieldFileKind::Unknown) {
      found = {FieldFileKind::OtherTotalStation, ToUtf8(std::wstring(*other))};
    }
  }
  return found;
}

std::optional<FieldFile> ReadFieldFile(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  if (!in) {
    return std::nullopt;
  }
  std::string bytes(kSampleBytes, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return JudgeFieldFile(bytes);
}

std::string DescribeRefusal(const FieldFile& file) {
  constexpr const char* kKnown =
      "the plug-in imports the set-ups of the 3600 series (STAT. KNWN. PNT., FREE STATIONING, "
      "HEIGHTSTATIONING)";
  switch (file.kind) {
    case FieldFileKind::SetUps:
      return {};
    case FieldFileKind::DigitalLevel:
      return "is a digital level's file (text records of type TO): levelling lines, not a total "
             "station's set-ups; " +
             std::string(kKnown) + " and reads no levelling";
    case FieldFileKind::OtherTotalStation:
      return "is a file of another total station (set-ups marked \"" + file.evidence +
             "\"): " + kKnown + ", so its observations have no station to belong to";
    case FieldFileKind::Unknown:
      break;
  }
  return "holds no set-up record: " + std::string(kKnown) + ", and a file without one is refused";
}

}  // namespace m5host
