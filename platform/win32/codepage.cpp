#include "platform/codepage.h"

#include <windows.h>

#include <climits>

#include "platform/win32/hresult.h"

namespace m5::platform {

void AppendAnsiToWide(const char* bytes, std::size_t count, std::wstring& out) {
  if (count == 0) {
    return;
  }
  // The system converts at most INT_MAX bytes in one call; no survey line comes near.
  if (count > static_cast<std::size_t>(INT_MAX)) {
    SetLastError(ERROR_ARITHMETIC_OVERFLOW);
    throw LastSystemError("MultiByteToWideChar");
  }
  const int byteCount = static_cast<int>(count);
  const int wideCount = MultiByteToWideChar(CP_ACP, 0, bytes, byteCount, nullptr, 0);
  if (wideCount <= 0) {
    throw LastSystemError("MultiByteToWideChar");
  }
  const std::size_t start = out.size();
  out.resize(start + static_cast<std::size_t>(wideCount));
  if (MultiByteToWideChar(CP_ACP, 0, bytes, byteCount, out.data() + start, wideCount) !=
      wideCount) {
    out.resize(start);
    throw LastSystemError("MultiByteToWideChar");
  }
}

}  // namespace m5::platform
