#include "host/survey/survey.h"

namespace m5host {

const char* RoleName(Role role) {
  switch (role) {
    case Role::Station:
      return "station";
    case Role::Point:
      return "point";
    case Role::Target:
      return "target";
  }
  return "?";
}

const char* SeverityName(Severity severity) {
  return severity == Severity::Error ? "error" : "warning";
}

std::string OnOneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return text;
}

int FileSurvey::Count(Severity severity) const {
  int n = 0;
  for (const Message& message : messages) {
    n += message.severity == severity ? 1 : 0;
  }
  return n;
}

std::string LineNumber(int line) {
  return line < 0 ? std::string() : std::to_string(static_cast<long long>(line) + 1);
}

std::string LineLabel(int line) {
  return line < 0 ? "file" : LineNumber(line);
}

}  // namespace m5host
