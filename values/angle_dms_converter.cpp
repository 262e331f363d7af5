#include "values/angle_dms_converter.h"

#include <cwchar>

CAngleDMSConverter::CAngleDMSConverter(Plugin::IAngleConverter* inner)
    : m_inner(Plugin::Ref<Plugin::IAngleConverter>::retain(inner)) {}

bool CAngleDMSConverter::Parse(const wchar_t* text, double* value) {
  if (!m_inner || text == nullptr) {
    return false;
  }
  m_text.assign(text);
  const std::size_t point = m_text.find(L'.');
  if (point == std::wstring::npos) {
    return false;
  }
  // D.MMSSFF: minutes and seconds are two characters each after the degrees' point.
  const std::size_t following = m_text.size() - point - 1;
  if (following > 2) {
    m_text.insert(point + 3, 1, L'.');
  }
  if (following > 4) {
    m_text.insert(point + 6, 1, L'.');
  }
  return m_inner->Parse(m_text.c_str(), value);
}
