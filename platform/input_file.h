// Reading a survey file whole. The file is opened read-only with shared access, so the
// instrument's transfer program or an editor may keep it open meanwhile.
#pragma once

#include <optional>
#include <string>

namespace m5::platform {

enum class FileMode {
  // C run-time text mode: CR LF reaches the reader as LF, a byte 0x1A ends the input; a
  // lone CR stays. A file that begins with a byte-order mark is Unicode text and is read
  // as Binary instead (text mode leaves a mark as it is, so the reader still sees it).
  Text,
  // Every byte as it is on disk.
  Binary,
};

// The file's bytes, or nothing when it cannot be opened or read (missing, a folder,
// no permission, a read error). Exhausted memory, also the run-time's own while opening
// or reading, throws std::bad_alloc.
std::optional<std::string> ReadWholeFile(const std::wstring& path, FileMode mode);

}  // namespace m5::platform
