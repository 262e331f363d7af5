// Text helpers of the M5 line: white space as the user's locale classifies it, and the
// fixed-position cuts of the point-id text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "values/white_space.h"

namespace m5 {

// Text without the white space at both ends, as a view into it.
std::wstring_view TrimmedView(std::wstring_view text, const CWhiteSpace& isSpace);

// The characters from the 1-based position start, at most length of them, trimmed, as a
// view into text. Any start or length is safe: a start or length below 1, or a start past
// the end, gives an empty text; a length past the end gives what is there.
std::wstring_view CutTrimmedView(std::wstring_view text, std::int32_t start, std::int32_t length,
                                 const CWhiteSpace& isSpace);

// The pattern with its placeholders filled: each "%s" takes the next argument, "%1%" to
// "%9%" the argument of that number, "%%" is a percent sign. Arguments are never read as
// formats; a missing argument is empty, any other "%" stays as it is. Only exhausted
// memory throws (std::bad_alloc): a message is never sent with its point's name missing.
std::wstring FormatMessage(std::wstring_view pattern,
                           std::initializer_list<std::wstring_view> arguments);
std::wstring FormatMessage(const std::wstring& pattern, const std::wstring& argument);

}  // namespace m5
