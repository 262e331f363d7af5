// The byte-order marks a Unicode text file may begin with. A file that begins with one is
// Unicode whatever the encoding setting says, so it is never read through text mode, which
// would cut a 16-bit file at the letter K (U+041A holds the byte 0x1A).
#pragma once

#include <initializer_list>
#include <string_view>

namespace m5::platform {

inline constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
inline constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
inline constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

inline bool BeginsWithByteOrderMark(std::string_view bytes) {
  for (const std::string_view mark : {kUtf8Mark, kUtf16LittleEndianMark, kUtf16BigEndianMark}) {
    if (bytes.substr(0, mark.size()) == mark) {
      return true;
    }
  }
  return false;
}

}  // namespace m5::platform
