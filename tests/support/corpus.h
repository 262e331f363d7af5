// The public M5 files the tests read where they lie; the folder is absent in a plain clone.
#pragma once

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

namespace m5test {

inline std::filesystem::path CorpusFolder() {
  return M5_CORPUS_DIR;
}

// The corpus's survey files in name order, without its notes; nothing when the folder is
// absent, so that a test can skip.
inline std::optional<std::vector<std::filesystem::path>> CorpusFiles() {
  const std::filesystem::path folder = CorpusFolder();
  if (!std::filesystem::is_directory(folder)) {
    return std::nullopt;
  }
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().extension() != ".md") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace m5test
