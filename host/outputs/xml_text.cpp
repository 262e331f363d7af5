#include "host/outputs/xml_text.h"

#include <cstdint>

#include "host/os/text_encoding.h"

namespace m5host {

std::string Xml(const std::string& utf8) {
  std::wstring out;
  for (const wchar_t c : FromUtf8(utf8)) {
    switch (c) {
      case L'<':
        out += L"&lt;";
        break;
      case L'>':
        out += L"&gt;";
        break;
      case L'&':
        out += L"&amp;";
        break;
      case L'"':
        out += L"&quot;";
        break;
      default:
        if (static_cast<std::uint32_t>(c) < 0x20) {
          out += L' ';
        } else if (c == 0xFFFE || c == 0xFFFF) {
          out += static_cast<wchar_t>(0xFFFD);
        } else {
          out += c;
        }
    }
  }
  return ToUtf8(out);
}

}  // namespace m5host
