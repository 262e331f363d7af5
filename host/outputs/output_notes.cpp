#include "host/outputs/output_notes.h"

#include "host/sinks/trace_format.h"

namespace m5host {

void OutputNotes::Add(std::string note) {
  if (m_said.insert(note).second) {
    m_notes.push_back(std::move(note));
  }
}

void OutputNotes::AddAt(const std::string& file, int line, const std::string& text,
                        const SurveyPoint* observation) {
  if (m_said.insert(file + '\n' + std::to_string(line) + '\n' + text).second) {
    m_located.push_back({file, line, text, observation});
  }
}

void OutputNotes::Changed(const char* format, const std::string& what, const std::string& from,
                          const std::string& to) {
  Add(std::string(format) + ": " + what + " " + QuoteEscaped(from, ControlEscape::Json) +
      " written as " + QuoteEscaped(to, ControlEscape::Json));
}

void PointIds::Finish() {
  for (const std::string& id : m_order) {
    const int count = m_counts[id];
    if (count > 1) {
      m_notes.Add(std::string(m_format) + ": point ID " + QuoteEscaped(id, ControlEscape::Json) +
                  " written " + std::to_string(count) + " times");
    }
  }
}

void PointIds::Written(const std::string& id) {
  if (++m_counts[id] == 1) {
    m_order.push_back(id);
  }
}

}  // namespace m5host
