#include "host/outputs/message_lines.h"

namespace m5host {

namespace {

void WriteLine(std::ostream& out, const std::string& path, int line, Severity severity,
               const std::string& text) {
  out << path;
  if (line >= 0) {
    out << ':' << LineNumber(line);
  }
  out << ": " << SeverityName(severity) << ": " << OnOneLine(text) << '\n';
}

}  // namespace

void WriteMessageLines(std::ostream& out, const std::vector<FileSurvey>& files) {
  for (const FileSurvey& file : files) {
    for (const Message& message : file.messages) {
      WriteLine(out, file.path, message.line, message.severity, message.text);
    }
  }
}

void WriteLocatedNotes(std::ostream& out, const OutputNotes& notes) {
  for (const OutputNotes::Located& note : notes.AllLocated()) {
    WriteLine(out, note.file, note.line, Severity::Warning, note.text);
  }
}

}  // namespace m5host
