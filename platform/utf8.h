// The plug-in's UTF-8: survey files decoded into wide text, file names encoded for the file
// system. wchar_t holds UTF-32 on Linux and UTF-16 on Windows; both widths are handled.
//
// Error policy: nothing is dropped and nothing stops. A byte sequence that is not UTF-8,
// and a NUL, become one U+FFFD each, and the caller learns that it happened, because the
// import reports the first such line of a file as a warning (129) and keeps its values
// from being read short. Encoding replaces an unpaired surrogate with U+FFFD, but for the
// escaped bytes of a file name (below).
//
// The reference host has a codec of its own (host/text_encoding.*), as any host would: it
// converts the command line, settings files and what it prints, reports nothing, lets a
// NUL through and replaces each byte of a broken sequence on its own.
#pragma once

#include <string>
#include <string_view>

namespace m5::platform {

// Whether decoded text is the file's own, or holds a U+FFFD put in for bytes that are not
// text in the reading. A U+FFFD the file itself encodes is its own text.
enum class Decoding { Exact, Replaced };

// Appends the decoded text of bytes to out: the well-formed sequences of the Unicode
// standard, every broken one (its longest valid start) and every NUL as one U+FFFD, so a
// value or a name is never cut short.
Decoding AppendUtf8(std::string_view bytes, std::wstring& out);

// The UTF-8 form of wide text, for the file system. U+DC80 to U+DCFF alone stand for the
// bytes 0x80 to 0xFF of a name that is not UTF-8 and become those bytes again.
std::string ToUtf8(std::wstring_view text);

// Writes one code point at out and returns the next free place; a 16-bit wchar_t takes the
// characters beyond the basic plane as a surrogate pair (two places).
wchar_t* PutCodePoint(char32_t cp, wchar_t* out);

}  // namespace m5::platform
