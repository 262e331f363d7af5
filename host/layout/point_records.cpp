#include "host/layout/point_records.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "host/os/text_encoding.h"

namespace m5host {

namespace {

enum class ByteOrder { Little, Big };

bool StartsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// 16-bit text without a mark shows itself by its zero bytes: most units of its start have
// the zero on the same side, which gives the byte order.
std::optional<ByteOrder> Utf16Order(std::string_view bytes) {
  if (bytes.size() < 2 || bytes.size() % 2 != 0) {
    return std::nullopt;
  }
  constexpr std::size_t kUnitsLooked = 256;
  const std::size_t units = std::min(bytes.size() / 2, kUnitsLooked);
  std::size_t zeroHigh = 0;
  std::size_t zeroLow = 0;
  for (std::size_t i = 0; i < units; ++i) {
    const char low = bytes[2 * i];
    const char high = bytes[2 * i + 1];
    zeroHigh += high == 0 && low != 0 ? 1 : 0;
    zeroLow += low == 0 && high != 0 ? 1 : 0;
  }
  if (zeroHigh * 2 > units) {
    return ByteOrder::Little;
  }
  if (zeroLow * 2 > units) {
    return ByteOrder::Big;
  }
  return std::nullopt;
}

std::wstring DecodeUtf16(std::string_view bytes, ByteOrder order) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto first = static_cast<unsigned char>(bytes[i]);
    const auto second = static_cast<unsigned char>(bytes[i + 1]);
    const unsigned unit = order == ByteOrder::Little ? first | second << 8 : second | first << 8;
    if constexpr (sizeof(wchar_t) == 4) {
      // A pair of surrogates is the one character it stands for, as columns count it.
      const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
      const auto high = text.empty() ? 0u : static_cast<unsigned>(text.back());
      if (low && high >= 0xD800 && high <= 0xDBFF) {
        text.back() = static_cast<wchar_t>(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
        continue;
      }
    }
    text += static_cast<wchar_t>(unit);
  }
  return text;
}

// Windows-1251 as far as columns need it: its Cyrillic letters, anything else above 0x7F
// a character of its own.
std::wstring DecodeWindows1251(std::string_view bytes) {
  std::wstring text;
  text.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto value = static_cast<unsigned char>(byte);
    if (value == 0x1A) {
      break;  // the transfer software's end of file
    }
    if (value < 0x80) {
      text += static_cast<wchar_t>(value);
    } else if (value >= 0xC0) {
      text += static_cast<wchar_t>(0x0410 + (value - 0xC0));
    } else if (value == 0xA8 || value == 0xB8) {
      text += value == 0xA8 ? L'\u0401' : L'\u0451';
    } else {
      text += L'\uFFFD';
    }
  }
  return text;
}

std::wstring Decode(std::string_view bytes, TextKind kind) {
  switch (kind) {
    case TextKind::Utf8Mark:
      return FromUtf8(bytes.substr(kUtf8Mark.size()));
    case TextKind::Utf8:
      return FromUtf8(bytes);
    case TextKind::Utf16Mark:
      return DecodeUtf16(bytes.substr(2),
                         StartsWith(bytes, kUtf16LeMark) ? ByteOrder::Little : ByteOrder::Big);
    case TextKind::Utf16:
      return DecodeUtf16(bytes, Utf16Order(bytes).value_or(ByteOrder::Little));
    case TextKind::Ascii:
    case TextKind::Windows1251:
      break;
  }
  return DecodeWindows1251(bytes);
}

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
  const auto bar = line.find(L'|');
  const std::wstring_view field = line.substr(0, bar);
  line = bar == std::wstring_view::npos ? std::wstring_view() : line.substr(bar + 1);
  return field;
}

bool IsM5Format(std::wstring_view field) {
  return field.size() == 6 && field.substr(0, 3) == L"For" && field.substr(4) == L"M5";
}

bool IsPointType(std::wstring_view type) {
  return type == L"PI" || type == L"KR" || type == L"KD";
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

TextKind ClassifyText(std::string_view bytes) {
  if (StartsWith(bytes, kUtf8Mark)) {
    return TextKind::Utf8Mark;
  }
  if (StartsWith(bytes, kUtf16LeMark) || StartsWith(bytes, kUtf16BeMark)) {
    return TextKind::Utf16Mark;
  }
  if (Utf16Order(bytes)) {
    return TextKind::Utf16;
  }
  const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) {
    return TextKind::Ascii;
  }
  // Valid UTF-8 is exactly the text that survives a round trip through wide characters.
  return ToUtf8(FromUtf8(bytes)) == bytes ? TextKind::Utf8 : TextKind::Windows1251;
}

PointRecords ScanPointRecords(std::string_view bytes, std::size_t maxRecords) {
  PointRecords records;
  records.kind = ClassifyText(bytes);
  const std::wstring text = Decode(bytes, records.kind);
  std::wstring_view rest = text;
  int number = 0;
  while (!rest.empty()) {
    // Lines end at CR LF, LF or a lone CR.
    const auto end = rest.find_first_of(L"\r\n");
    std::wstring_view line = rest.substr(0, end);
    std::size_t next = end == std::wstring_view::npos ? rest.size() : end + 1;
    if (end != std::wstring_view::npos && rest[end] == L'\r' && next < rest.size() &&
        rest[next] == L'\n') {
      ++next;
    }
    rest.remove_prefix(next);
    ++number;
    line = Trim(line);
    if (line.empty()) {
      continue;
    }
    const std::wstring_view format = NextField(line);
    if (format == L"END") {
      continue;
    }
    if (!IsM5Format(format)) {
      records.stopLine = number;
      break;  // the import stops here too
    }
    ++records.m5Lines;
    NextField(line);  // the address
    const std::wstring_view info = NextField(line);
    if (!IsPointType(info.substr(0, 2))) {
      continue;
    }
    records.texts.emplace_back(info.size() > 4 ? info.substr(4, kPointIdWidth) : L"");
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
  try {
    if (in && maxRecords != 0) {
      // A few records tell the layout: only the start of a large survey is read, up to its
      // last whole line, so that a hint after an import costs nothing next to the import.
      bytes.resize(maxRecords * kBytesPerRecord);
      in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      const bool cut = in.gcount() == static_cast<std::streamsize>(bytes.size());
      bytes.resize(static_cast<std::size_t>(in.gcount()));
      if (cut) {
        bytes.resize(std::min(bytes.size(), bytes.find_last_of("\r\n") + 1));
      }
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
  return ScanPointRecords(bytes, maxRecords);
}

}  // namespace m5host
