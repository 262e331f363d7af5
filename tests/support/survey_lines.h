// Hand-written M5 lines for small surveys: a point record with the default layout (name in
// characters 1 to 14, the time of measurement at the end) or a text record, and its blocks.
#pragma once

#include <string>

namespace m5test {

inline std::string PointLine(const std::string& name, const std::string& blocks) {
  std::string id = name;
  id.resize(22, ' ');
  return "For M5|Adr 00001|PI1 " + id + "10:15|" + blocks;
}

inline std::string TextLine(const std::string& text, const std::string& blocks = "") {
  std::string padded = text;
  padded.resize(27, ' ');
  return "For M5|Adr 00001|TI  " + padded + "|" + blocks;
}

}  // namespace m5test
