// What a loaded library is on every system; loading and unloading are the system's
// (posix/, win32/).
#include "host/os/host_platform.h"

#include <utility>

namespace m5host::os {

Library::Library(Library&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}

Library& Library::operator=(Library&& other) noexcept {
  std::swap(m_handle, other.m_handle);
  return *this;
}

}  // namespace m5host::os
