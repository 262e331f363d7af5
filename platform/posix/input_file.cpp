#include "platform/input_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include <sys/stat.h>

#include "platform/byte_order_mark.h"
#include "platform/utf8.h"

namespace m5::platform {

namespace {

// What the C run-time's text mode does on Windows: CR LF becomes LF, 0x1A ends the input,
// a lone CR stays. Runs between CRs move as whole blocks.
void ApplyTextMode(std::string& bytes) {
  const void* eof = std::memchr(bytes.data(), '\x1A', bytes.size());
  if (eof != nullptr) {
    bytes.resize(static_cast<std::size_t>(static_cast<const char*>(eof) - bytes.data()));
  }
  char* const data = bytes.data();
  const std::size_t n = bytes.size();
  const void* found = std::memchr(data, '\r', n);
  if (found == nullptr) {
    return;
  }
  std::size_t out = static_cast<std::size_t>(static_cast<const char*>(found) - data);
  std::size_t in = out;
  while (in < n) {
    // data[in] is a CR; it goes only when an LF follows.
    const std::size_t runStart = (in + 1 < n && data[in + 1] == '\n') ? in + 1 : in;
    const void* next = in + 1 < n ? std::memchr(data + in + 1, '\r', n - in - 1) : nullptr;
    const std::size_t runEnd =
        next != nullptr ? static_cast<std::size_t>(static_cast<const char*>(next) - data) : n;
    const std::size_t length = runEnd - runStart;
    if (out != runStart) {
      std::memmove(data + out, data + runStart, length);
    }
    out += length;
    in = runEnd;
  }
  bytes.resize(out);
}

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

std::optional<std::string> ReadWholeFile(const std::wstring& path, FileMode mode) {
  const std::string narrow = ToUtf8(path);
  errno = 0;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(narrow.c_str(), "rb"));
  if (!file) {
    ThrowIfOutOfMemory();
    return std::nullopt;
  }
  std::string bytes;
  // A regular file is read straight into one buffer of its size: no copy through the chunk
  // below, and no regrowth that touches a large survey's memory twice. Whatever the file
  // gained since is read on below.
  struct stat info {};
  if (fstat(fileno(file.get()), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
    bytes.resize(static_cast<std::size_t>(info.st_size));
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
  if (mode == FileMode::Text && !BeginsWithByteOrderMark(bytes)) {
    ApplyTextMode(bytes);
  }
  return bytes;
}

}  // namespace m5::platform
