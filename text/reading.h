// How a survey file's bytes are read as text, decided once from the bytes and the encoding
// setting. The plug-in's import and a host's look at the same file decide here, so they
// cannot read one file two ways.
#pragma once

#include <cstddef>
#include <string_view>

namespace m5::text {

// The encoding setting of the plug-in ("Использовать кодировку").
enum class EncodingSetting {
  Win1251,  // 8-bit text in the ANSI code page
  Unicode,  // UTF-16 with or without a mark, or UTF-8
};

// The setting a stored CodeStr value means: 0 is Win1251, anything else Unicode.
constexpr EncodingSetting SettingOf(int codeStr) {
  return codeStr == 0 ? EncodingSetting::Win1251 : EncodingSetting::Unicode;
}

enum class Reading {
  Ansi,  // 8-bit text; a byte 0x1A ends it, as the instrument's transfer software expects
  Utf8,
  Utf16LittleEndian,
  Utf16BigEndian,
};

struct DecidedReading {
  Reading reading = Reading::Ansi;
  // Bytes of the byte-order mark the file begins with; 0 without one.
  std::size_t markLength = 0;
};

// How many of a file's first bytes decide its reading: the rest never changes it.
inline constexpr std::size_t kDecidingBytes = 4096;

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// A byte-order mark decides under either setting: a file that says it is Unicode is never
// read as 8-bit text, which would cut a 16-bit file at the letter K (U+041A holds 0x1A).
// Without a mark, Win1251 reads 8-bit text; Unicode takes the file for UTF-16 when its zero
// bytes look like it (most 16-bit units at its start have the zero byte on the same side,
// which gives the byte order, whatever the parity of the size: a cut transfer leaves an odd
// last byte), otherwise UTF-8; a NUL or two of padding do not make a file UTF-16.
// Only the first kDecidingBytes of bytes are looked at.
DecidedReading DecideReading(std::string_view bytes, EncodingSetting setting);

}  // namespace m5::text
