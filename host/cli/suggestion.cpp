#include "host/cli/suggestion.h"

#include <algorithm>
#include <cctype>

namespace m5host {

namespace {

char Folded(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Slips between two words: a letter missed, added or wrong, two neighbours swapped.
std::size_t Slips(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) {
    d[i][0] = i;
  }
  for (std::size_t j = 0; j <= b.size(); ++j) {
    d[0][j] = j;
  }
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t wrong = Folded(a[i - 1]) == Folded(b[j - 1]) ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + wrong});
      if (i > 1 && j > 1 && Folded(a[i - 1]) == Folded(b[j - 2]) &&
          Folded(a[i - 2]) == Folded(b[j - 1])) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

std::optional<std::string> Nearest(const std::string& typed,
                                   const std::vector<std::string>& known) {
  // A third of the word may be slips, at least one: "jsn" is json, "x" is nothing.
  const std::size_t allowed = std::max<std::size_t>(1, typed.size() / 3);
  std::optional<std::string> best;
  std::size_t bestSlips = allowed + 1;
  bool tie = false;
  for (const std::string& word : known) {
    const std::size_t slips = Slips(typed, word);
    if (slips < bestSlips) {
      best = word;
      bestSlips = slips;
      tie = false;
    } else if (slips == bestSlips) {
      tie = true;
    }
  }
  return tie ? std::nullopt : best;
}

std::string DidYouMean(const std::string& typed, const std::vector<std::string>& known) {
  const std::optional<std::string> nearest = Nearest(typed, known);
  return nearest ? "; did you mean " + *nearest + "?" : std::string();
}

}  // namespace m5host
