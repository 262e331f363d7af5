#include "host/cli/input_files.h"

#include <filesystem>
#include <system_error>

#include "host/cli/commands.h"
#include "host/os/host_platform.h"

namespace m5host {

InputFiles::InputFiles(const std::vector<std::string>& names) {
  for (const std::string& name : names) {
    if (name != "-") {
      if (const std::optional<std::string> reason = os::UnreadableReason(name)) {
        Complain("cannot read " + name + ": " + *reason);
        m_read = InputsRead::NotAll;
        continue;
      }
      m_pluginPaths.push_back(os::PluginPath(name));
      continue;
    }
    // Standard input can be read once; a second "-" is the same survey again.
    if (m_standardInputCopy.empty()) {
      std::string error;
      const std::optional<std::string> copy = os::CopyStandardInput(error);
      if (!copy) {
        Complain(error);
        m_read = InputsRead::NotAll;
        continue;
      }
      m_standardInputCopy = *copy;
      m_standardInputPath = os::PluginPath(*copy);
    }
    m_pluginPaths.push_back(m_standardInputPath);
  }
}

InputFiles::~InputFiles() {
  if (!m_standardInputCopy.empty()) {
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::u8path(m_standardInputCopy), ignored);
  }
}

}  // namespace m5host
