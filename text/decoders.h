// The three decoders of survey text, one per reading, under one error policy: nothing is
// dropped and nothing stops. A character that is not text in its reading (a NUL in any of
// them, a byte sequence that is not UTF-8, an unpaired UTF-16 surrogate, an odd last byte of
// 16-bit text) becomes one U+FFFD, and the caller learns that it happened: the import warns
// of the first such line of a file (129) and keeps its values from being read short.
#pragma once

#include <string>
#include <string_view>

namespace m5::text {

// Whether decoded text is the file's own, or holds a U+FFFD put in for bytes that are not
// text in the reading. A U+FFFD the file itself encodes is its own text.
enum class Decoding { Exact, Replaced };

// Appends 8-bit text in the thread's ANSI code page. Throws std::system_error when the
// system cannot convert the code page (platform/codepage.h).
Decoding AppendAnsi(std::string_view bytes, std::wstring& out);

// Appends the well-formed sequences of the Unicode standard; every broken one (its longest
// valid start) becomes one U+FFFD, so a value or a name is never cut short.
Decoding AppendUtf8(std::string_view bytes, std::wstring& out);

// Appends UTF-16 in the given byte order. With a 16-bit wchar_t characters beyond U+FFFF
// are surrogate pairs, otherwise one wchar_t each.
Decoding AppendUtf16(std::string_view bytes, bool littleEndian, std::wstring& out);

// Writes one code point at out and returns the next free place; a 16-bit wchar_t takes the
// characters beyond the basic plane as a surrogate pair (two places).
wchar_t* PutCodePoint(char32_t cp, wchar_t* out);

}  // namespace m5::text
