#include "import/unicode_text.h"

#include <algorithm>

#include "platform/byte_order_mark.h"
#include "platform/utf8.h"

namespace m5::import {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// How far into the file a file without a mark is judged to be UTF-16 or not.
constexpr std::size_t kFormWindow = 4096;

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::optional<DetectedForm> DetectByteOrderMark(std::string_view bytes) {
  struct Mark {
    std::string_view bytes;
    UnicodeForm form;
  };
  constexpr Mark kMarks[] = {
      {platform::kUtf8Mark, UnicodeForm::Utf8},
      {platform::kUtf16LittleEndianMark, UnicodeForm::Utf16LittleEndian},
      {platform::kUtf16BigEndianMark, UnicodeForm::Utf16BigEndian},
  };
  for (const Mark& mark : kMarks) {
    if (bytes.substr(0, mark.bytes.size()) == mark.bytes) {
      return DetectedForm{mark.form, mark.bytes.size()};
    }
  }
  return std::nullopt;
}

DetectedForm DetectUnicodeForm(std::string_view bytes) {
  if (const std::optional<DetectedForm> marked = DetectByteOrderMark(bytes)) {
    return *marked;
  }
  // M5 lines are ASCII but for names and codes: as UTF-16 nearly every unit is a letter
  // beside a zero byte, the zero second when little-endian. The size's parity says nothing:
  // a transfer cut short leaves an odd last byte, a malformed character of its own.
  const std::size_t units = std::min(bytes.size(), kFormWindow) / 2;
  std::size_t littleEndian = 0;
  std::size_t bigEndian = 0;
  for (std::size_t k = 0; k < units; ++k) {
    const bool firstZero = bytes[2 * k] == '\0';
    const bool secondZero = bytes[2 * k + 1] == '\0';
    littleEndian += !firstZero && secondZero ? 1 : 0;
    bigEndian += firstZero && !secondZero ? 1 : 0;
  }
  if (2 * littleEndian > units) {
    return {UnicodeForm::Utf16LittleEndian, 0};
  }
  if (2 * bigEndian > units) {
    return {UnicodeForm::Utf16BigEndian, 0};
  }
  return {UnicodeForm::Utf8, 0};
}

Decoding AppendUtf16(std::string_view bytes, bool littleEndian, std::wstring& out) {
  const std::size_t units = bytes.size() / 2;
  const bool oddByte = bytes.size() % 2 != 0;
  const std::size_t start = out.size();
  out.resize(start + units + (oddByte ? 1 : 0));
  wchar_t* const first = out.data() + start;
  wchar_t* put = first;

  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const auto unitAt = [p, littleEndian](std::size_t k) -> char32_t {
    const unsigned char a = p[2 * k];
    const unsigned char b = p[2 * k + 1];
    return littleEndian ? static_cast<char32_t>(a | (b << 8)) : static_cast<char32_t>((a << 8) | b);
  };
  Decoding decoding = oddByte ? Decoding::Replaced : Decoding::Exact;
  for (std::size_t k = 0; k < units; ++k) {
    const char32_t unit = unitAt(k);
    if (IsHighSurrogate(unit) && k + 1 < units && IsLowSurrogate(unitAt(k + 1))) {
      const char32_t cp = 0x10000 + ((unit - 0xD800) << 10) + (unitAt(k + 1) - 0xDC00);
      put = platform::PutCodePoint(cp, put);
      ++k;
      continue;
    }
    if (unit == 0 || IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      put = platform::PutCodePoint(kReplacement, put);
      decoding = Decoding::Replaced;
      continue;
    }
    put = platform::PutCodePoint(unit, put);
  }
  if (oddByte) {
    put = platform::PutCodePoint(kReplacement, put);
  }
  out.resize(start + static_cast<std::size_t>(put - first));
  return decoding;
}

}  // namespace m5::import
