// Unicode survey files: which form the bytes are in, and exact decoding into wide text.
// Field software and editors save M5 files as UTF-16 (either byte order, with or without a
// byte-order mark) or UTF-8; each is read as what it is.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/utf8.h"

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

// The form of a whole file: its byte-order mark if it has one; otherwise UTF-16 when its
// zero bytes look like it (most 16-bit units at the start of the file have their zero
// byte on the same side: the byte order, whatever the parity of the size), else UTF-8. A
// NUL or two of padding in a UTF-8 file keeps it UTF-8.
DetectedForm DetectUnicodeForm(std::string_view bytes);

// The byte-order mark bytes begin with, if any.
std::optional<DetectedForm> DetectByteOrderMark(std::string_view bytes);

// UTF-8 is the plug-in's one codec (platform/utf8.h), with its error policy; UTF-16 is read
// here under the same policy: an unpaired surrogate, a NUL and an odd trailing byte become
// U+FFFD, reported as Replaced.
using platform::AppendUtf8;
using platform::Decoding;

// Appends the decoded text of UTF-16 bytes to out, in the given byte order. With a 16-bit
// wchar_t characters beyond U+FFFF are surrogate pairs, otherwise one wchar_t each.
Decoding AppendUtf16(std::string_view bytes, bool littleEndian, std::wstring& out);

}  // namespace m5::import
