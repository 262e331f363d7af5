#include <sys/stat.h>

#include "platform/file_opening.h"
#include "platform/utf8.h"

namespace m5::platform {

std::FILE* OpenSharedForReading(const std::wstring& path) {
  // POSIX locks nothing on open: sharing is the default.
  return std::fopen(ToUtf8(path).c_str(), "rb");
}

std::size_t RegularFileSize(std::FILE* file) {
  struct stat info {};
  if (fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    return static_cast<std::size_t>(info.st_size);
  }
  return 0;
}

}  // namespace m5::platform
