#include "host/cli/input_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "host/cli/commands.h"
#include "host/os/host_platform.h"

namespace m5host {

InputFiles::InputFiles(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    // Standard input or a FIFO can be read once; named again, it is the same survey again.
    const auto same = std::find_if(m_files.begin(), m_files.end(), [&name](const InputFile& file) {
      return file.shownName == name && file.readPath != name;
    });
    if (same != m_files.end()) {
      m_files.push_back(*same);
      continue;
    }
    const os::TakenInput taken = os::TakeInput(name);
    if (taken.failure) {
      Complain(*taken.failure);
      ++m_unreadable;
      continue;
    }
    if (taken.copy) {
      m_copies.push_back(*taken.copy);
    }
    const std::string& readPath = taken.copy ? *taken.copy : name;
    m_files.push_back({name, readPath, os::PluginPath(readPath)});
  }
}

InputFiles::~InputFiles() {
  for (const std::string& copy : m_copies) {
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::u8path(copy), ignored);
  }
}

std::vector<std::wstring> InputFiles::PluginPaths() const {
  std::vector<std::wstring> paths;
  for (const InputFile& file : m_files) {
    paths.push_back(file.pluginPath);
  }
  return paths;
}

}  // namespace m5host
