#include "host/sinks/trace_format.h"

#include <charconv>
#include <cstdio>

#include "host/os/text_encoding.h"

namespace m5host {

std::string FormatDouble(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string FormatFloat(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string QuoteEscaped(std::string_view utf8, ControlEscape control) {
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, control == ControlEscape::Json ? "\\u%04x" : "\\x%02X",
                        static_cast<unsigned char>(c));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

std::string QuoteText(const wchar_t* text) {
  if (text == nullptr) {
    return "null";
  }
  return QuoteEscaped(ToUtf8(text), ControlEscape::Trace);
}

std::string TraceLine(const char* call, double value) {
  return std::string(call) + "(" + FormatDouble(value) + ")";
}

std::string TraceLine(const char* call, float value) {
  return std::string(call) + "(" + FormatFloat(value) + ")";
}

std::string TraceLine(const char* call, int value) {
  return std::string(call) + "(" + std::to_string(value) + ")";
}

std::string TraceLine(const char* call, const wchar_t* text) {
  return std::string(call) + "(" + QuoteText(text) + ")";
}

}  // namespace m5host
