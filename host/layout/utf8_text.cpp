#include "host/layout/utf8_text.h"

#include <string>

#include "text/decoders.h"

namespace m5host {

bool ReadsAsUtf8(std::string_view bytes, SampleEnd end) {
  // A CR, LF or NUL byte is never part of a UTF-8 sequence, so the pieces between them are
  // judged one at a time through one reused buffer, however large the file.
  std::wstring decoded;
  std::size_t start = 0;
  for (;;) {
    const std::size_t stop = bytes.find_first_of(std::string_view("\r\n\0", 3), start);
    if (stop == std::string_view::npos && end == SampleEnd::Cut) {
      return true;  // the rest may be a character cut in two
    }
    decoded.clear();
    const std::string_view piece = bytes.substr(start, stop - start);
    if (m5::text::AppendUtf8(piece, decoded) != m5::text::Decoding::Exact) {
      return false;
    }
    if (stop == std::string_view::npos) {
      return true;
    }
    start = stop + 1;
  }
}

}  // namespace m5host
