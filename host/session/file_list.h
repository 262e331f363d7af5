// The list of files handed to Import: wide paths the caller keeps, walked by the plug-in.
// It needs no library, so every host of ours, the Microsoft-ABI test host included, hands
// its files over the same way.
#pragma once

#include "sdk/plugin_interfaces.h"

namespace m5host {

class FileList : public Plugin::IEnumerator<const wchar_t*> {
 public:
  FileList(const wchar_t* const* paths, int count) : m_paths(paths), m_count(count) {}

  bool IsValid() override { return m_index < m_count; }
  void Next() override {
    if (m_index < m_count) {
      ++m_index;
    }
  }
  // Null past the end, for a plug-in that forgets to ask IsValid.
  const wchar_t* Current() override { return m_index < m_count ? m_paths[m_index] : nullptr; }
  void Reset() override { m_index = 0; }

 private:
  const wchar_t* const* m_paths;
  int m_count;
  int m_index = 0;
};

}  // namespace m5host
