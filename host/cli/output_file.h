// Where m5import writes an output: standard output, or the file -o or --svg names. A file
// is written under a temporary name beside it and put in place only when every write
// succeeded, so a failed run never leaves half a survey where the last good one was.
#pragma once

#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace m5host {

class OutputFile {
 public:
  // Standard output without a path. Nothing, with the reason, when the file cannot be made.
  static std::unique_ptr<OutputFile> Open(const std::optional<std::string>& path,
                                          std::string& error);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;
  ~OutputFile();  // a temporary never put in place goes

  std::ostream& Stream() { return m_file ? *m_file : *m_standard; }

  // Notes the system's reason the first time a write has failed, while errno still holds
  // it; a failed stream ignores further writes, so the import can go on.
  void NoteFailure();

  // Flushes and puts a file in place; the reason when any write failed (a full disk, a
  // closed pipe), else nothing.
  std::optional<std::string> Finish();

 private:
  OutputFile() = default;

  std::ostream* m_standard = nullptr;
  std::unique_ptr<std::ofstream> m_file;
  std::string m_shownName;    // as the user wrote it, for messages
  std::string m_writtenPath;  // the file actually written
  std::string m_finalPath;    // where it goes on success; empty when written in place
  std::string m_failure;      // the reason of the first failed write
};

}  // namespace m5host
