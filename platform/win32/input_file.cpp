#include "platform/input_file.h"

#include <share.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>

#include "platform/byte_order_mark.h"

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

std::optional<std::string> ReadAll(const std::wstring& path, const wchar_t* openMode) {
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(_wfsopen(path.c_str(), openMode, _SH_DENYNO));
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

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, FileMode mode) {
  if (mode == FileMode::Binary) {
    return ReadAll(path, L"rb");
  }
  // The C run-time's own text mode turns CR LF into LF and stops at 0x1A, as the
  // instrument's transfer software expects of a reader. It leaves a byte-order mark as it
  // is; a marked file is Unicode, and is read again as it is on disk.
  std::optional<std::string> text = ReadAll(path, L"rt");
  if (text && BeginsWithByteOrderMark(*text)) {
    return ReadAll(path, L"rb");
  }
  return text;
}

}  // namespace m5::platform
