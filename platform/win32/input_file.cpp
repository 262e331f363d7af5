#include <share.h>
#include <sys/stat.h>
#include <sys/types.h>

#include "platform/file_opening.h"

namespace m5::platform {

std::FILE* OpenSharedForReading(const std::wstring& path) {
  // Denying nothing: the transfer program or an editor may hold the survey open meanwhile.
  return _wfsopen(path.c_str(), L"rb", _SH_DENYNO);
}

std::size_t RegularFileSize(std::FILE* file) {
  struct _stat64 info {};
  if (_fstat64(_fileno(file), &info) == 0 && (info.st_mode & _S_IFREG) != 0 && info.st_size > 0) {
    return static_cast<std::size_t>(info.st_size);
  }
  return 0;
}

}  // namespace m5::platform
