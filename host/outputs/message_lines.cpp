#include "host/outputs/message_lines.h"

namespace m5host {

void WriteMessageLines(std::ostream& out, const std::vector<FileSurvey>& files) {
  for (const FileSurvey& file : files) {
    for (const Message& message : file.messages) {
      out << file.path;
      if (message.line >= 0) {
        out << ':' << LineNumber(message.line);
      }
      out << ": " << SeverityName(message.severity) << ": " << OnOneLine(message.text) << '\n';
    }
  }
}

}  // namespace m5host
