#include "host/cli/input_names.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace m5host {

namespace {

namespace fs = std::filesystem;

// The file names a survey folder offers, ignoring letter case: the instruments' transfer
// programs write DAT as often as dat.
constexpr const char* kSurveyExtensions[] = {".dat", ".m5"};

bool SameLetter(char a, char b, NameCase nameCase) {
  if (nameCase == NameCase::Exact) {
    return a == b;
  }
  return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

// The entries of a folder that pass the test, by name; names as the system gives them.
template <class Test>
std::vector<std::string> EntriesOf(const fs::path& folder, Test test) {
  std::vector<std::string> found;
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code kind;
    if (!it->is_directory(kind) && test(it->path().filename().u8string())) {
      found.push_back(it->path().u8string());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// A file of a folder named on the command line, shown as the user would have typed it: with
// the separator the folder's name uses ("examples/a.dat", not "examples\\a.dat" on Windows).
std::string InFolder(const std::string& folder, const std::string& file) {
  if (folder.empty()) {
    return file;
  }
  const char last = folder.back();
  // "C:" names the drive's current folder on Windows: nothing goes between.
  if (last == '/' || last == static_cast<char>(fs::path::preferred_separator) || last == ':') {
    return folder + file;
  }
  const bool slashes = folder.find('/') != std::string::npos;
  return folder + (slashes ? '/' : static_cast<char>(fs::path::preferred_separator)) + file;
}

bool HasWildcard(const std::string& text) {
  return text.find_first_of("*?") != std::string::npos;
}

}  // namespace

bool MatchesWildcard(const std::string& pattern, const std::string& name, NameCase nameCase) {
  // The classic walk: on a mismatch, the last "*" takes one more character.
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t star = std::string::npos;
  std::size_t resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], name[n], nameCase))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') {
    ++p;
  }
  return p == pattern.size();
}

bool IsSurveyFileName(const std::string& name) {
  return std::any_of(std::begin(kSurveyExtensions), std::end(kSurveyExtensions),
                     [&name](const std::string& extension) {
                       return name.size() > extension.size() &&
                              MatchesWildcard("*" + extension, name, NameCase::Ignored);
                     });
}

InputNames ExpandInputNames(const std::vector<std::string>& names, Wildcards wildcards) {
  InputNames expanded;
  for (const std::string& name : names) {
    const fs::path path = fs::u8path(name);
    std::error_code error;
    if (name != "-" && fs::is_directory(path, error)) {
      expanded.hasFolder = true;
      const std::vector<std::string> surveys = EntriesOf(path, IsSurveyFileName);
      if (surveys.empty()) {
        expanded.empty.push_back(name);
      }
      for (const std::string& survey : surveys) {
        expanded.files.push_back(InFolder(name, fs::u8path(survey).filename().u8string()));
      }
      continue;
    }
    const std::string last = path.filename().u8string();
    if (wildcards == Wildcards::Expanded && HasWildcard(last) &&
        !HasWildcard(path.parent_path().u8string())) {
      const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
      const std::vector<std::string> matches = EntriesOf(folder, [&last](const std::string& entry) {
        return (entry[0] != '.' || last[0] == '.') &&
               MatchesWildcard(last, entry, NameCase::Ignored);
      });
      if (!matches.empty()) {
        // Shown as the user would have typed each: in the folder as the pattern named it.
        for (const std::string& match : matches) {
          const std::string file = fs::u8path(match).filename().u8string();
          expanded.files.push_back(InFolder(path.parent_path().u8string(), file));
        }
        continue;
      }
    }
    expanded.files.push_back(name);
  }
  return expanded;
}

}  // namespace m5host
