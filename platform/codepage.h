// Conversion of 8-bit text in the thread's ANSI code page into wide text. Windows asks
// the system (MultiByteToWideChar with CP_ACP); elsewhere the code page is Windows-1251,
// the one the instrument's Russian firmware writes.
#pragma once

#include <cstddef>
#include <string>

namespace m5::platform {

// Appends the characters of bytes[0, count) to out. Throws std::system_error carrying the
// HRESULT of the system's last error when the system cannot convert (Windows only; the
// table used elsewhere maps every byte).
void AppendAnsiToWide(const char* bytes, std::size_t count, std::wstring& out);

inline std::wstring AnsiToWide(const std::string& bytes) {
  std::wstring out;
  AppendAnsiToWide(bytes.data(), bytes.size(), out);
  return out;
}

}  // namespace m5::platform
