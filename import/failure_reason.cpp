#include "import/failure_reason.h"

#include <cstdint>
#include <new>
#include <system_error>

#include "parser/text.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"

namespace m5::import {

namespace {

// The code as Windows shows an HRESULT: "0x" and eight upper-case hex digits.
std::wstring HexCode(std::uint32_t code) {
  constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  std::wstring text = L"0x00000000";
  for (std::size_t i = text.size(); i > 2; --i, code >>= 4) {
    text[i - 1] = kDigits[code & 0xFu];
  }
  return text;
}

}  // namespace

std::wstring FailureReason(const std::exception_ptr& failure) {
  try {
    if (failure) {
      std::rethrow_exception(failure);
    }
  } catch (const std::bad_alloc&) {
    return platform::LoadResourceString(msg::kReasonOutOfMemory);
  } catch (const std::system_error& error) {
    // On Windows a code page the system cannot convert ends up here, carrying the HRESULT
    // of the thread's last error. Elsewhere the conversion is a fixed table that maps every
    // byte, so only other system calls can give this reason.
    return FormatMessage(platform::LoadResourceString(msg::kReasonSystemError),
                         HexCode(static_cast<std::uint32_t>(error.code().value())));
  } catch (...) {
  }
  return platform::LoadResourceString(msg::kReasonUnknown);
}

}  // namespace m5::import
