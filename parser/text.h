// Text helpers of the M5 line: white space as the user's locale classifies it, and the
// fixed-position cuts of the point-id text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "values/white_space.h"

namespace m5 {

// Removes white space at both ends, in place.
void TrimSpace(std::wstring& text);
// The same with white space the caller has taken from the locale once for a whole file.
void TrimSpace(std::wstring& text, const CWhiteSpace& isSpace);
// What TrimSpace leaves of text, without touching it.
std::wstring_view TrimmedView(std::wstring_view text, const CWhiteSpace& isSpace);

// The characters from the 1-based position start, at most length of them, trimmed. Any
// start or length is safe: a start or length below 1, or a start past the end, gives an
// empty text; a length past the end gives what is there.
std::wstring CutTrimmed(const std::wstring& text, std::int32_t start, std::int32_t length);
std::wstring CutTrimmed(const std::wstring& text, std::int32_t start, std::int32_t length,
                        const CWhiteSpace& isSpace);
// The same cut as a view into text, for a caller that copies it into a buffer of its own.
std::wstring_view CutTrimmedView(std::wstring_view text, std::int32_t start, std::int32_t length,
                                 const CWhiteSpace& isSpace);

// The pattern with its single placeholder replaced by argument; the argument is never read
// as a format. A pattern that is missing or malformed gives what the formatter can make of
// it, never an exception.
std::wstring FormatMessage(const std::wstring& pattern, const std::wstring& argument);

}  // namespace m5
