#include "host/outputs/output_notes.h"

#include <cstdio>

namespace m5host {

namespace {

// A text in quotes as the survey spells it, so that a surveyor finds it in the file and a
// written "\U+4E2D" reads as written; only control characters, which would break the note's
// line, are spelled out.
std::string AsSpelled(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
      out += hex;
    } else {
      out += c;
    }
  }
  return out + '"';
}

}  // namespace

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
  Add(std::string(format) + ": " + what + " " + AsSpelled(from) + " written as " + AsSpelled(to));
}

void OutputNotes::ChangedIn(const std::string& file, const char* format, const std::string& what,
                            const std::string& from, const std::string& to) {
  AddAt(file, -1,
        std::string(format) + ": " + what + " " + AsSpelled(from) + " written as " + AsSpelled(to));
}

void PointIds::Finish() {
  for (const std::string& id : m_order) {
    const int count = m_counts[id];
    if (count > 1) {
      m_notes.Add(std::string(m_format) + ": point ID " + AsSpelled(id) + " written " +
                  std::to_string(count) + " times");
    }
  }
}

void PointIds::Written(const std::string& id) {
  if (++m_counts[id] == 1) {
    m_order.push_back(id);
  }
}

}  // namespace m5host
