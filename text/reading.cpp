#include "text/reading.h"

#include <algorithm>
#include <optional>

namespace m5::text {

namespace {

std::optional<DecidedReading> ByByteOrderMark(std::string_view bytes) {
  struct Mark {
    std::string_view bytes;
    Reading reading;
  };
  constexpr Mark kMarks[] = {
      {kUtf8Mark, Reading::Utf8},
      {kUtf16LittleEndianMark, Reading::Utf16LittleEndian},
      {kUtf16BigEndianMark, Reading::Utf16BigEndian},
  };
  for (const Mark& mark : kMarks) {
    if (bytes.substr(0, mark.bytes.size()) == mark.bytes) {
      return DecidedReading{mark.reading, mark.bytes.size()};
    }
  }
  return std::nullopt;
}

// M5 lines are ASCII but for names and codes: as UTF-16 nearly every unit is a letter
// beside a zero byte, the zero second when little-endian. Whole units only: an odd last
// byte says nothing of the byte order.
Reading UnicodeReadingOf(std::string_view bytes) {
  const std::size_t units = std::min(bytes.size(), kDecidingBytes) / 2;
  std::size_t littleEndian = 0;
  std::size_t bigEndian = 0;
  for (std::size_t k = 0; k < units; ++k) {
    const bool firstZero = bytes[2 * k] == '\0';
    const bool secondZero = bytes[2 * k + 1] == '\0';
    littleEndian += !firstZero && secondZero ? 1 : 0;
    bigEndian += firstZero && !secondZero ? 1 : 0;
  }
  if (2 * littleEndian > units) {
    return Reading::Utf16LittleEndian;
  }
  if (2 * bigEndian > units) {
    return Reading::Utf16BigEndian;
  }
  return Reading::Utf8;
}

}  // namespace

DecidedReading DecideReading(std::string_view bytes, EncodingSetting setting) {
  if (const std::optional<DecidedReading> marked = ByByteOrderMark(bytes)) {
    return *marked;
  }
  if (setting == EncodingSetting::Unicode) {
    return {UnicodeReadingOf(bytes), 0};
  }
  return {Reading::Ansi, 0};
}

}  // namespace m5::text
