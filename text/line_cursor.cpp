#include "text/line_cursor.h"

namespace m5::text {

CLineCursor::CLineCursor(std::string_view bytes, EncodingSetting setting, std::size_t chunkBytes)
    : m_bytes(bytes), m_reader(m_bytes, setting, chunkBytes) {}

const std::wstring& CLineCursor::Next() {
  // Bytes in memory cannot change between the two passes: every counted line is there.
  return *m_reader.Next();
}

}  // namespace m5::text
