// The survey files the command line names, as a shell user expects them. A folder stands
// for its survey files (*.dat and *.m5, in any letter case, by name, not in its sub-folders):
// a day's files at once. On Windows, where no shell expands them, "*" and "?" in the last
// part of a name are expanded as a POSIX shell does: the matching files by name, dot files
// only for a pattern that starts with a dot, and a pattern that matches nothing stays as it
// is (and is then reported as missing).
#pragma once

#include <string>
#include <vector>

namespace m5host {

enum class Wildcards { LeftToTheShell, Expanded };
enum class NameCase { Exact, Ignored };

struct InputNames {
  std::vector<std::string> files;
  // Folders that hold no survey file, with the reason, to be named and left out.
  std::vector<std::string> empty;
  bool hasFolder = false;  // a folder was named: a batch run
};

InputNames ExpandInputNames(const std::vector<std::string>& names, Wildcards wildcards);

// Whether name matches a pattern of "*" (any run of characters) and "?" (one character).
bool MatchesWildcard(const std::string& pattern, const std::string& name, NameCase nameCase);

// Whether a file's name says it is a survey file (*.dat, *.m5).
bool IsSurveyFileName(const std::string& name);

}  // namespace m5host
