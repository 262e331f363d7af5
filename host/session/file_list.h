// The list of files handed to Import: wide paths, walked by the plug-in.
#pragma once

#include <string>
#include <vector>

#include "sdk/plugin_interfaces.h"

namespace m5host {

class FileList final : public Plugin::IEnumerator<const wchar_t*> {
 public:
  explicit FileList(std::vector<std::wstring> paths) : m_paths(std::move(paths)) {}

  bool IsValid() override { return m_index < m_paths.size(); }
  void Next() override {
    if (m_index < m_paths.size()) {
      ++m_index;
    }
  }
  // Null past the end, for a plug-in that forgets to ask IsValid.
  const wchar_t* Current() override {
    return m_index < m_paths.size() ? m_paths[m_index].c_str() : nullptr;
  }
  void Reset() override { m_index = 0; }

 private:
  std::vector<std::wstring> m_paths;
  std::size_t m_index = 0;
};

}  // namespace m5host
