// Reading a survey file whole, as the bytes on disk: what they mean is the text library's
// to say (text/reading.h). The file is opened read-only with shared access, so the
// instrument's transfer program or an editor may keep it open meanwhile.
#pragma once

#include <optional>
#include <string>

namespace m5::platform {

// The file's bytes, or nothing when it cannot be opened or read (missing, a folder,
// no permission, a read error). Exhausted memory, also the run-time's own while opening
// or reading, throws std::bad_alloc.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

}  // namespace m5::platform
