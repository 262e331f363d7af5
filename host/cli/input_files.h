// The survey files of an import as the plug-in is to read them. Each name is checked
// first, and one that cannot be read (missing, a folder, no permission, a read error) is
// named on stderr with the system's reason and left out. "-" is standard input; it, a FIFO
// or a device is read once, into a temporary file that the plug-in reads and the outputs
// show under the name given.
#pragma once

#include <string>
#include <vector>

namespace m5host {

enum class InputsRead { All, NotAll };

// One readable input: as the user named it, and where it is read from.
struct InputFile {
  std::string shownName;    // as given ("-" for standard input)
  std::string readPath;     // the file read, as the system names it (a copy for a stream)
  std::wstring pluginPath;  // readPath as the plug-in takes it
};

class InputFiles {
 public:
  explicit InputFiles(const std::vector<std::string>& names);
  InputFiles(const InputFiles&) = delete;
  InputFiles& operator=(const InputFiles&) = delete;
  ~InputFiles();  // the copies go

  // The readable files, in the order given.
  const std::vector<InputFile>& Files() const { return m_files; }
  std::vector<std::wstring> PluginPaths() const;
  InputsRead Read() const { return m_unreadable == 0 ? InputsRead::All : InputsRead::NotAll; }
  int Unreadable() const { return m_unreadable; }

 private:
  std::vector<InputFile> m_files;
  int m_unreadable = 0;
  std::vector<std::string> m_copies;  // temporary files, as the system names them
};

}  // namespace m5host
