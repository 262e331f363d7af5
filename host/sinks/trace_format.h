// The trace format: every sink call in order, one per line, with its argument, e.g.
//   AddStation("S1")
//   SetX(1000.5)
//   SetProgress(33.333332)
// Texts are quoted with \" \\ \n \r \t and \xNN escaped; doubles and floats are written
// in the shortest form that reads back to the same value. The reference host's trace and
// the tests' recording sink both write it, so one golden format serves both.
#pragma once

#include <string>
#include <string_view>

namespace m5host {

std::string FormatDouble(double value);
std::string FormatFloat(float value);
// How other control characters are written: \xNN in the trace, \u00NN in JSON.
enum class ControlEscape { Trace, Json };
// UTF-8 text quoted, with \" \\ \n \r \t escaped and other control characters as chosen.
std::string QuoteEscaped(std::string_view utf8, ControlEscape control);
// A quoted, escaped text for the trace; "null" for a null pointer.
std::string QuoteText(const wchar_t* text);

// One line of the trace: "Call(argument)".
std::string TraceLine(const char* call, double value);
std::string TraceLine(const char* call, float value);
std::string TraceLine(const char* call, int value);
std::string TraceLine(const char* call, const wchar_t* text);

}  // namespace m5host
