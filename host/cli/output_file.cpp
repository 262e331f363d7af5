#include "host/cli/output_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace m5host {

namespace {

namespace fs = std::filesystem;

// The system's reason for the last failed write, when it left one.
std::string LastWriteError() {
  return errno != 0 ? std::strerror(errno) : "the write failed";
}

}  // namespace

std::unique_ptr<OutputFile> OutputFile::Open(const std::optional<std::string>& path,
                                             std::string& error) {
  std::unique_ptr<OutputFile> output(new OutputFile());
  if (!path) {
    output->m_standard = &std::cout;
    output->m_shownName = "standard output";
    return output;
  }
  output->m_shownName = *path;
  output->m_writtenPath = *path;
  // A device or a pipe (/dev/null, /dev/stdout) is written as it is: there is nothing to
  // replace, and no temporary could be made beside it.
  std::error_code ignored;
  const fs::file_status status = fs::status(fs::u8path(*path), ignored);
  if (!fs::exists(status) || fs::is_regular_file(status)) {
    output->m_finalPath = *path;
    output->m_writtenPath = *path + ".m5import-partial";
  }
  errno = 0;
  output->m_file = std::make_unique<std::ofstream>(fs::u8path(output->m_writtenPath),
                                                   std::ios::binary | std::ios::trunc);
  if (!*output->m_file) {
    error = "cannot write " + *path + ": " + LastWriteError();
    output->m_file.reset();
    output->m_finalPath.clear();  // nothing was made, nothing to remove
    return nullptr;
  }
  return output;
}

OutputFile::~OutputFile() {
  if (m_file && !m_finalPath.empty()) {
    m_file.reset();
    std::error_code ignored;
    fs::remove(fs::u8path(m_writtenPath), ignored);
  }
}

void OutputFile::NoteFailure() {
  if (m_failure.empty() && Stream().fail()) {
    m_failure = LastWriteError();
  }
}

std::optional<std::string> OutputFile::Finish() {
  NoteFailure();
  errno = 0;
  Stream().flush();
  NoteFailure();
  if (m_file) {
    errno = 0;
    m_file->close();
    NoteFailure();
  }
  if (!m_failure.empty()) {
    return "cannot write " + m_shownName + ": " + m_failure;
  }
  if (m_file && !m_finalPath.empty()) {
    std::error_code error;
    fs::rename(fs::u8path(m_writtenPath), fs::u8path(m_finalPath), error);
    if (error) {
      return "cannot write " + m_shownName + ": " + error.message();
    }
    m_file.reset();  // in place: nothing left to remove
  }
  return std::nullopt;
}

}  // namespace m5host
