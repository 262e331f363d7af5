// How Windows turns a system error code into the HRESULT a COM caller sees.
#pragma once

#include <cstdint>
#include <system_error>

namespace m5::platform {

// The code's low 16 bits under the Win32 facility with the failure bit set; 0 stays 0.
constexpr std::int32_t HresultFromSystemError(std::uint32_t code) {
  if (code == 0) {
    return 0;
  }
  return static_cast<std::int32_t>((code & 0xFFFFu) | 0x80070000u);
}

// The exception for a failed system call, carrying the HRESULT of the thread's last error.
std::system_error LastSystemError(const char* what);

}  // namespace m5::platform
