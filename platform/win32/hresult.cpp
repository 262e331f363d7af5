#include "platform/win32/hresult.h"

#include <windows.h>

namespace m5::platform {

std::system_error LastSystemError(const char* what) {
  return std::system_error(HresultFromSystemError(GetLastError()), std::system_category(), what);
}

}  // namespace m5::platform
