// File names encoded for the file system as UTF-8. wchar_t holds UTF-32 on Linux and UTF-16
// on Windows; both widths are handled. Survey text is decoded by text/decoders.h.
//
// The reference host has a codec of its own (host/os/text_encoding.*), as any host would: it
// converts the command line, settings files and what it prints, reports nothing, lets a
// NUL through and replaces each byte of a broken sequence on its own.
#pragma once

#include <string>
#include <string_view>

namespace m5::platform {

// The UTF-8 form of wide text, for the file system. U+DC80 to U+DCFF alone stand for the
// bytes 0x80 to 0xFF of a name that is not UTF-8 and become those bytes again; any other
// unpaired surrogate becomes U+FFFD.
std::string ToUtf8(std::wstring_view text);

}  // namespace m5::platform
