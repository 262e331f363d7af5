#include "platform/input_file.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

#include "platform/file_opening.h"

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
  std::unique_ptr<std::FILE, FileCloser> file(OpenSharedForReading(path));
  if (!file) {
    ThrowIfOutOfMemory();
    return std::nullopt;
  }
  std::string bytes;
  // A regular file is read straight into one buffer of its size: no copy through the chunk
  // below, and no regrowth that touches a large survey's memory twice. Whatever the file
  // gained since is read on below.
  if (const std::size_t size = RegularFileSize(file.get()); size > 0) {
    bytes.resize(size);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  }
  char chunk[65536];
  for (;;) {
    const std::size_t got = std::fread(chunk, 1, sizeof chunk, file.get());
    bytes.append(chunk, got);
    if (got < sizeof chunk) {
      break;
    }
  }
  // A folder opens on POSIX but cannot be read; treat it like any unreadable file.
  if (std::ferror(file.get())) {
    ThrowIfOutOfMemory();
    return std::nullopt;
  }
  return bytes;
}

}  // namespace m5::platform
