// Reading a survey file as the bytes on disk, a chunk at a time: what they mean is the text
// library's to say (text/reading.h). The file is opened read-only with shared access, so the
// instrument's transfer program or an editor may keep it open meanwhile.
#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

namespace m5::platform {

class CInputFile {
 public:
  // The opened file, or nothing when it cannot be opened (missing, no permission). Exhausted
  // memory, also the run-time's own while opening, throws std::bad_alloc.
  static std::optional<CInputFile> Open(const std::wstring& path);

  // Up to size bytes at into; fewer only at the end of the file or when reading failed.
  // Exhausted memory throws std::bad_alloc.
  std::size_t Read(char* into, std::size_t size);
  // Whether a read failed (a folder, an I/O error); errno tells why.
  bool Failed() const;
  // Back to the first byte; false for what cannot go back (a pipe).
  bool Rewind();
  // The size of a regular file, 0 for anything else or when unknown: a hint, not a limit.
  std::size_t SizeHint() const;

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  explicit CInputFile(std::FILE* file) : m_file(file) {}
  std::unique_ptr<std::FILE, Closer> m_file;
};

// The file's bytes, or nothing when it cannot be opened or read. Exhausted memory throws
// std::bad_alloc.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

}  // namespace m5::platform
