// The file list every test, fuzz target and benchmark hands to Import: the reference
// host's, over paths it keeps itself.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/session/file_list.h"

namespace m5test {

namespace detail {
// The paths, made before the list that points into them.
struct KeptPaths {
  explicit KeptPaths(std::vector<std::wstring> kept) : keptPaths(std::move(kept)) {
    for (const std::wstring& path : keptPaths) {
      keptPointers.push_back(path.c_str());
    }
  }
  std::vector<std::wstring> keptPaths;
  std::vector<const wchar_t*> keptPointers;
};
}  // namespace detail

class FileList : private detail::KeptPaths, public m5host::FileList {
 public:
  explicit FileList(std::vector<std::wstring> paths)
      : KeptPaths(std::move(paths)),
        m5host::FileList(keptPointers.data(), static_cast<int>(keptPointers.size())) {}
  FileList(const FileList&) = delete;
  FileList& operator=(const FileList&) = delete;
};

}  // namespace m5test
