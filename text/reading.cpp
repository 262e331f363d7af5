#include "text/reading.h"

#include <algorithm>
#include <optional>

namespace m5::text {

namespace {

// How far into a file without a mark its zero bytes are looked at.
constexpr std::size_t kFormWindow = 4096;

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
      return DecidedReading{mark.reading, mark.bytes.size(), bytes.substr(mark.bytes.size()), {}};
    }
  }
  return std::nullopt;
}

// M5 lines are ASCII but for names and codes: as UTF-16 nearly every unit is a letter
// beside a zero byte, the zero second when little-endian. Whole units only: an odd last
// byte says nothing of the byte order.
Reading UnicodeReadingOf(std::string_view bytes) {
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
    return Reading::Utf16LittleEndian;
  }
  if (2 * bigEndian > units) {
    return Reading::Utf16BigEndian;
  }
  return Reading::Utf8;
}

constexpr char kEndOfFile = '\x1A';

// The text without the 0x1A bytes that pad its end; in 16-bit text only from a unit's start,
// so that a last letter holding the byte 0x1A (U+041A big-endian) stays.
std::string_view WithoutPadding(std::string_view text, std::size_t unit) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == kEndOfFile) {
    --end;
  }
  end += end % unit;
  return text.substr(0, std::min(end, text.size()));
}

// What follows a 0x1A in 8-bit text holds text when it is more than padding, blank lines
// and NULs.
bool HoldsText(std::string_view rest) {
  return rest.find_first_not_of(std::string_view("\x1A\0\r\n \t", 6)) != std::string_view::npos;
}

DecidedReading WithText(Reading reading, std::size_t markLength, std::string_view text) {
  DecidedReading decided{reading, markLength, text, {}};
  if (reading == Reading::Ansi) {
    const std::size_t mark = text.find(kEndOfFile);
    decided.text = text.substr(0, mark);
    if (mark != std::string_view::npos && HoldsText(text.substr(mark))) {
      decided.unread = text.substr(mark);
    }
    return decided;
  }
  const bool utf16 = reading != Reading::Utf8;
  decided.text = WithoutPadding(text, utf16 ? 2 : 1);
  return decided;
}

}  // namespace

DecidedReading DecideReading(std::string_view bytes, EncodingSetting setting) {
  if (const std::optional<DecidedReading> marked = ByByteOrderMark(bytes)) {
    return WithText(marked->reading, marked->markLength, marked->text);
  }
  if (setting == EncodingSetting::Unicode) {
    return WithText(UnicodeReadingOf(bytes), 0, bytes);
  }
  return WithText(Reading::Ansi, 0, bytes);
}

}  // namespace m5::text
