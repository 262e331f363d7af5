// What a writer had to change to fit its format, or found written twice. m5import shows
// each note on stderr, so no change to the survey goes unsaid.
#pragma once

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace m5host {

struct SurveyPoint;

class OutputNotes {
 public:
  // "dxf: code \"a b\" written as layer \"A_B\"" when the text had to change.
  void Changed(const char* format, const std::string& what, const std::string& from,
               const std::string& to);
  // The same, said of the file the text was read from ("day.dat: warning: ..."), once per
  // file.
  void ChangedIn(const std::string& file, const char* format, const std::string& what,
                 const std::string& from, const std::string& to);
  // Each note once: a file's path or a station's name changed on every row is said once.
  void Add(std::string note);
  const std::vector<std::string>& All() const { return m_notes; }

  // A warning about a place in a survey, said as the plug-in's messages are (message_lines.h);
  // line -1 for the file as a whole. Each once.
  struct Located {
    std::string file;
    int line;
    std::string text;
    // The observation a note is about, whose line m5import finds in the file (the plug-in
    // sends records without their lines); null for others.
    const SurveyPoint* observation = nullptr;
  };
  void AddAt(const std::string& file, int line, const std::string& text,
             const SurveyPoint* observation = nullptr);
  const std::vector<Located>& AllLocated() const { return m_located; }
  std::vector<Located>& AllLocated() { return m_located; }

 private:
  std::vector<std::string> m_notes;
  std::vector<Located> m_located;
  std::unordered_set<std::string> m_said;
};

// The point IDs one output writes; Finish notes each ID written more than once, with its
// count.
class PointIds {
 public:
  PointIds(const char* format, OutputNotes& notes) : m_format(format), m_notes(notes) {}
  PointIds(const PointIds&) = delete;
  PointIds& operator=(const PointIds&) = delete;

  void Written(const std::string& id);
  void Finish();

 private:
  const char* m_format;
  OutputNotes& m_notes;
  std::unordered_map<std::string, int> m_counts;
  std::vector<std::string> m_order;  // first writing order, for stable notes
};

}  // namespace m5host
