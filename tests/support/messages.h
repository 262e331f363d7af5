// The plug-in's messages as tests expect them, built from its string table, so the texts are
// written once (resources/strings.inc) and pinned once (tests/platform/platform_test.cpp).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace m5test {

// The text of a message, its placeholder filled with argument when there is one.
std::wstring Message(unsigned int id, const std::wstring& argument = {});
// The message as one call of the trace, without a line end: ReportError("..."),
// ReportWarning("...").
std::string ErrorCall(unsigned int id, const std::wstring& argument = {});
std::string WarningCall(unsigned int id, const std::wstring& argument = {});
// A warning with several placeholders, filled in order.
std::string WarningCallWith(unsigned int id, std::initializer_list<std::wstring_view> arguments);

}  // namespace m5test
