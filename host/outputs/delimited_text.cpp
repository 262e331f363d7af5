#include "host/outputs/delimited_text.h"

namespace m5host {

void WriteByteOrderMark(std::ostream& out, ByteOrderMark mark) {
  if (mark == ByteOrderMark::Written) {
    out << "\xEF\xBB\xBF";
  }
}

std::string SpreadsheetText(const std::string& text) {
  if (!text.empty() && std::string("=+-@\t\r").find(text[0]) != std::string::npos) {
    return "'" + text;
  }
  return text;
}

std::string QuotedCell(const std::string& text, char delimiter) {
  if (text.find_first_of(std::string("\"\r\n") + delimiter) == std::string::npos) {
    return text;
  }
  std::string out = "\"";
  for (const char c : text) {
    out += c == '"' ? "\"\"" : std::string(1, c);
  }
  return out + "\"";
}

}  // namespace m5host
