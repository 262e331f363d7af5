// The two text readings of a survey file, chosen by the encoding setting: the file's bytes
// in, one wide string per line out, in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace m5::import {

using LineList = std::vector<std::wstring>;

// 8-bit text in the thread's ANSI code page, read in text mode (CR LF already LF, input
// already ended at 0x1A). Lines end at LF; a NUL cuts its line; a CR elsewhere stays.
// Throws std::system_error when the system cannot convert the code page.
void ReadLines8Bit(std::string_view bytes, LineList& lines);

// Unicode text read in binary (UTF-16 or UTF-8, see unicode_text.h); the byte-order mark
// is dropped. Lines end at LF, and a CR right before the LF is dropped with it.
void ReadLinesUnicode(std::string_view bytes, LineList& lines);

}  // namespace m5::import
