// UTF-8 for the terminal and files, wide text for the plug-in: the host's one codec.
// wchar_t holds UTF-32 on Linux and UTF-16 on Windows; both directions handle either width.
//
// Error policy: convert everything, report nothing. A malformed byte, an overlong form, an
// encoded surrogate and each byte of a truncated sequence become one U+FFFD apiece; a NUL
// passes through; an unpaired surrogate of wide text becomes U+FFFD. The host converts its
// own command line, settings file and output, where there is no line to report on and the
// user sees the text anyway. The plug-in differs because it reads survey files: its
// decoders (text/decoders.h) replace a NUL too and tell the import that they replaced
// something, so the file gets a warning and no value is read short; its own UTF-8 codec
// (platform/utf8.h) only encodes file names for the file system.
#pragma once

#include <string>
#include <string_view>

#include "platform/system_string.h"

namespace m5host {

// Malformed input becomes U+FFFD; it is never dropped silently.
std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);
// As FromUtf8, but a byte that is not part of UTF-8 becomes U+DC00 + the byte, so a POSIX
// file name of any bytes can be given back (see os::PluginPath). Needs 32-bit wchar_t.
std::wstring FromUtf8KeepingBytes(std::string_view text);

// The text of a system string handed over by the plug-in, which is then freed.
std::string TakeSystemString(BSTR text);

// Characters as a terminal counts them (code points), for aligning columns.
std::size_t DisplayWidth(std::string_view utf8);

}  // namespace m5host
