// Where the bytes of a survey file come from, a chunk at a time: the file itself for an
// import, bytes already in memory for a host's look at a file or a test.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

namespace m5::text {

// A read of a file that failed (a folder, an I/O error), with the system's reason.
class CReadFailure : public std::system_error {
 public:
  using std::system_error::system_error;
};

class IByteSource {
 public:
  virtual ~IByteSource() = default;
  // Up to size bytes at into; fewer only at the end. Throws what the source fails with.
  virtual std::size_t Read(char* into, std::size_t size) = 0;
  // Back to the first byte, for another pass over the same bytes.
  virtual void Rewind() = 0;
};

// Bytes in memory, which must outlive the source.
class CByteView final : public IByteSource {
 public:
  explicit CByteView(std::string_view bytes) : m_bytes(bytes) {}
  std::size_t Read(char* into, std::size_t size) override;
  void Rewind() override { m_position = 0; }

 private:
  std::string_view m_bytes;
  std::size_t m_position = 0;
};

// A file read where it lies. A file that cannot go back to its start (a pipe) is held in
// memory as it is read the first time.
class CFileSource final : public IByteSource {
 public:
  // Nothing when the file cannot be opened; exhausted memory throws std::bad_alloc.
  static std::unique_ptr<CFileSource> Open(const std::wstring& path);
  ~CFileSource() override;

  // A read that fails throws CReadFailure.
  std::size_t Read(char* into, std::size_t size) override;
  void Rewind() override;

 private:
  struct File;
  explicit CFileSource(std::unique_ptr<File> file);
  std::unique_ptr<File> m_file;
};

}  // namespace m5::text
