#include "tests/support/messages.h"

#include "host/sinks/trace_format.h"
#include "parser/text.h"
#include "platform/string_table.h"

namespace m5test {

std::wstring Message(unsigned int id, const std::wstring& argument) {
  const std::wstring pattern = m5::platform::LoadResourceString(id);
  return argument.empty() ? pattern : m5::FormatMessage(pattern, argument);
}

std::string ErrorCall(unsigned int id, const std::wstring& argument) {
  return m5host::TraceLine("ReportError", Message(id, argument).c_str());
}

std::string WarningCall(unsigned int id, const std::wstring& argument) {
  return m5host::TraceLine("ReportWarning", Message(id, argument).c_str());
}

std::string WarningCallWith(unsigned int id, std::initializer_list<std::wstring_view> arguments) {
  return m5host::TraceLine(
      "ReportWarning", m5::FormatMessage(m5::platform::LoadResourceString(id), arguments).c_str());
}

}  // namespace m5test
