// Unicode survey files: which form the bytes are in, and exact decoding into wide text.
// Field software and editors save M5 files as UTF-16 (either byte order, with or without a
// byte-order mark) or UTF-8; each is read as what it is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace m5::import {

enum class UnicodeForm {
  Utf8,
  Utf16LittleEndian,
  Utf16BigEndian,
};

struct DetectedForm {
  UnicodeForm form;
  // Bytes of the byte-order mark at the start of the file; the text begins after them.
  std::size_t markLength;
};

// The form of a whole file: its byte-order mark if it has one; otherwise UTF-16 when it
// holds a zero byte (the byte order from where the zero bytes stand), else UTF-8.
DetectedForm DetectUnicodeForm(std::string_view bytes);

// Append the decoded text of bytes to out. A malformed sequence, an unpaired surrogate
// or an odd trailing byte of UTF-16 becomes U+FFFD. With a 16-bit wchar_t characters
// beyond U+FFFF are surrogate pairs, otherwise one wchar_t each.
void AppendUtf8(std::string_view bytes, std::wstring& out);
void AppendUtf16(std::string_view bytes, bool littleEndian, std::wstring& out);

}  // namespace m5::import
