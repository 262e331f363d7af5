#include "text/byte_source.h"

#include <algorithm>
#include <cerrno>
#include <optional>

#include "platform/input_file.h"

namespace m5::text {

std::size_t CByteView::Read(char* into, std::size_t size) {
  const std::size_t got = std::min(size, m_bytes.size() - m_position);
  std::copy_n(m_bytes.data() + m_position, got, into);
  m_position += got;
  return got;
}

struct CFileSource::File {
  platform::CInputFile input;
  // A pipe's bytes as far as they were read, for the next pass.
  std::optional<std::string> kept;
  std::size_t position = 0;
};

CFileSource::CFileSource(std::unique_ptr<File> file) : m_file(std::move(file)) {}
CFileSource::~CFileSource() = default;

std::unique_ptr<CFileSource> CFileSource::Open(const std::wstring& path) {
  std::optional<platform::CInputFile> input = platform::CInputFile::Open(path);
  if (!input) {
    return nullptr;
  }
  const bool rewinds = input->Rewind();
  auto file = std::make_unique<File>(File{std::move(*input), std::nullopt, 0});
  if (!rewinds) {
    file->kept.emplace();
  }
  return std::unique_ptr<CFileSource>(new CFileSource(std::move(file)));
}

std::size_t CFileSource::Read(char* into, std::size_t size) {
  File& file = *m_file;
  if (file.kept && file.position < file.kept->size()) {
    const std::size_t got = std::min(size, file.kept->size() - file.position);
    std::copy_n(file.kept->data() + file.position, got, into);
    file.position += got;
    return got;
  }
  const std::size_t got = file.input.Read(into, size);
  if (file.input.Failed()) {
    throw CReadFailure(errno != 0 ? errno : EIO, std::generic_category());
  }
  if (file.kept) {
    file.kept->append(into, got);
    file.position += got;
  }
  return got;
}

void CFileSource::Rewind() {
  if (m_file->kept) {
    m_file->position = 0;
    return;
  }
  if (!m_file->input.Rewind()) {
    throw CReadFailure(errno != 0 ? errno : EIO, std::generic_category());
  }
}

}  // namespace m5::text
