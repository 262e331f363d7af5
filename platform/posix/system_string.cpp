#include "platform/system_string.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>

namespace {

// The byte count lives in the four bytes before the text.
constexpr std::size_t kPrefix = sizeof(std::uint32_t);

}  // namespace

BSTR SysAllocStringLen(const wchar_t* text, unsigned int length) {
  const std::size_t bytes = std::size_t{length} * sizeof(wchar_t);
  if (bytes > std::numeric_limits<std::uint32_t>::max() - kPrefix - sizeof(wchar_t)) {
    return nullptr;
  }
  auto* block = static_cast<unsigned char*>(std::malloc(kPrefix + bytes + sizeof(wchar_t)));
  if (block == nullptr) {
    return nullptr;
  }
  const auto count = static_cast<std::uint32_t>(bytes);
  std::memcpy(block, &count, kPrefix);
  auto* chars = reinterpret_cast<wchar_t*>(block + kPrefix);
  if (text != nullptr) {
    std::memcpy(chars, text, bytes);
  } else {
    std::memset(chars, 0, bytes);
  }
  chars[length] = L'\0';
  return chars;
}

BSTR SysAllocString(const wchar_t* text) {
  if (text == nullptr) {
    return nullptr;
  }
  const std::size_t length = std::wcslen(text);
  if (length > std::numeric_limits<unsigned int>::max()) {
    return nullptr;
  }
  return SysAllocStringLen(text, static_cast<unsigned int>(length));
}

void SysFreeString(BSTR text) {
  if (text != nullptr) {
    std::free(reinterpret_cast<unsigned char*>(text) - kPrefix);
  }
}

unsigned int SysStringLen(BSTR text) {
  if (text == nullptr) {
    return 0;
  }
  std::uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<unsigned char*>(text) - kPrefix, kPrefix);
  return bytes / sizeof(wchar_t);
}
