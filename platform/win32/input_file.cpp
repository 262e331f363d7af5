#include "platform/input_file.h"

#include <share.h>

#include <cstdio>
#include <memory>

namespace m5::platform {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  std::unique_ptr<std::FILE, FileCloser> file(_wfsopen(path.c_str(), L"rb", _SH_DENYNO));
  if (!file) {
    return std::nullopt;
  }
  std::string bytes;
  char chunk[65536];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.append(chunk, got);
    if (got < sizeof chunk) {
      break;
    }
  }
  if (std::ferror(file.get())) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace m5::platform
