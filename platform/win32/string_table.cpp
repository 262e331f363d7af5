#include "platform/string_table.h"

#include <windows.h>

namespace m5::platform {

namespace {

// The module this code is linked into: the plug-in DLL inside a host, or a test program.
// The host's executable has a string table of its own, so the handle must not be null.
HMODULE OwnModule() {
  HMODULE module = nullptr;
  const auto anchor = reinterpret_cast<LPCWSTR>(&LoadResourceString);
  if (!GetModuleHandleExW(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          anchor, &module)) {
    return nullptr;
  }
  return module;
}

}  // namespace

std::wstring LoadResourceString(unsigned int id) {
  // String-table numbers are 16 bits; the system would wrap a larger one onto another text.
  if (id > 0xFFFF) {
    return {};
  }
  HMODULE module = OwnModule();
  if (module == nullptr) {
    return {};
  }
  // With no buffer the system hands out a pointer into the resource itself (not
  // NUL-terminated) and the text's length.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || text == nullptr) {
    return {};
  }
  return std::wstring(text, static_cast<std::size_t>(length));
}

}  // namespace m5::platform
