#include "platform/input_file.h"

#include <cerrno>
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

}  // namespace

std::optional<CInputFile> CInputFile::Open(const std::wstring& path) {
  errno = 0;
  std::FILE* const file = OpenSharedForReading(path);
  if (file == nullptr) {
    ThrowIfOutOfMemory();
    return std::nullopt;
  }
  return CInputFile(file);
}

std::size_t CInputFile::Read(char* into, std::size_t size) {
  errno = 0;
  const std::size_t got = std::fread(into, 1, size, m_file.get());
  if (got < size && std::ferror(m_file.get())) {
    ThrowIfOutOfMemory();
  }
  return got;
}

bool CInputFile::Failed() const {
  return std::ferror(m_file.get()) != 0;
}

bool CInputFile::Rewind() {
  return std::fseek(m_file.get(), 0, SEEK_SET) == 0;
}

std::size_t CInputFile::SizeHint() const {
  return RegularFileSize(m_file.get());
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
  std::optional<CInputFile> file = CInputFile::Open(path);
  if (!file) {
    return std::nullopt;
  }
  // A regular file is read straight into one buffer of its size: no regrowth that touches
  // a large file's memory twice. Whatever the file gained since is read on below.
  std::string bytes(file->SizeHint(), '\0');
  bytes.resize(file->Read(bytes.data(), bytes.size()));
  char chunk[65536];
  for (std::size_t got = sizeof chunk; got == sizeof chunk && !file->Failed();) {
    got = file->Read(chunk, sizeof chunk);
    bytes.append(chunk, got);
  }
  // A folder opens on POSIX but cannot be read; treat it like any unreadable file.
  if (file->Failed()) {
    return std::nullopt;
  }
  return bytes;
}

}  // namespace m5::platform
