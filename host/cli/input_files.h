// The survey files of an import as the plug-in is to read them. Each name is checked
// first, and one that cannot be read (missing, a folder, no permission) is named on stderr
// with the system's reason and left out; "-" is standard input, copied to a temporary
// file that the plug-in reads and the outputs show as "-".
#pragma once

#include <string>
#include <vector>

namespace m5host {

enum class InputsRead { All, NotAll };

class InputFiles {
 public:
  explicit InputFiles(const std::vector<std::string>& names);
  InputFiles(const InputFiles&) = delete;
  InputFiles& operator=(const InputFiles&) = delete;
  ~InputFiles();  // the copy of standard input goes

  // The readable files, in the order given.
  const std::vector<std::wstring>& PluginPaths() const { return m_pluginPaths; }
  InputsRead Read() const { return m_read; }
  // The path the plug-in reads standard input from; empty when "-" was not given.
  const std::wstring& StandardInputPath() const { return m_standardInputPath; }

 private:
  std::vector<std::wstring> m_pluginPaths;
  InputsRead m_read = InputsRead::All;
  std::string m_standardInputCopy;  // the temporary file, as the system names it
  std::wstring m_standardInputPath;
};

}  // namespace m5host
