#include "values/angle_dms_converter.h"

#include <cwchar>
#include <iterator>

CAngleDMSConverter::CAngleDMSConverter(Plugin::IAngleConverter* inner)
    : m_inner(Plugin::Ref<Plugin::IAngleConverter>::retain(inner)) {}

bool CAngleDMSConverter::Parse(const wchar_t* text, double* value) {
  if (!m_inner || text == nullptr) {
    return false;
  }
  const std::size_t length = std::wcslen(text);
  const wchar_t* found = std::wmemchr(text, L'.', length);
  if (found == nullptr) {
    return false;
  }
  // D.MMSSFF: minutes and seconds are two characters each after the degrees' point. The
  // text is copied once with the separators put in on the way.
  const auto point = static_cast<std::size_t>(found - text);
  const std::size_t following = length - point - 1;
  // A data block's value fits on the stack: the wrapper lives for one block, so a buffer
  // of its own would be allocated for every angle. Longer texts use the member, which
  // only grows. The rewritten text ends at the NUL written after it.
  wchar_t local[32];
  wchar_t* out = local;
  if (length + 3 > std::size(local)) {
    if (m_text.size() < length + 3) {
      m_text.resize(length + 3);
    }
    out = m_text.data();
  }
  const wchar_t* const rewritten = out;
  const auto copy = [&out, text](std::size_t from, std::size_t count) {
    out = std::wmemcpy(out, text + from, count) + count;
  };
  if (following > 2) {
    copy(0, point + 3);
    *out++ = L'.';
    if (following > 4) {
      copy(point + 3, 2);
      *out++ = L'.';
      copy(point + 5, length - point - 5);
    } else {
      copy(point + 3, length - point - 3);
    }
  } else {
    copy(0, length);
  }
  *out = L'\0';
  return m_inner->Parse(rewritten, value);
}
