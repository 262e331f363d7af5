#include "platform/input_file.h"

#include <share.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

namespace m5::platform {

namespace {

// The run-time's own memory ran out (for the stream or its buffer): that is no reason the
// file cannot be read, and is reported as what it is.
void ThrowIfOutOfMemory() {
  if (errno == ENOMEM) {
    throw std::bad_alloc();
  }
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(_wfsopen(path.c_str(), L"rb", _SH_DENYNO));
  if (!file) {
    ThrowIfOutOfMemory();
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
    ThrowIfOutOfMemory();
    return std::nullopt;
  }
  return bytes;
}

}  // namespace m5::platform
