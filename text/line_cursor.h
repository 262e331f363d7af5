// The lines of a survey file already in memory: its bytes in, one wide string per line out,
// in file order, read as an import reads the file (text/line_reader.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "text/byte_source.h"
#include "text/line_reader.h"
#include "text/reading.h"

namespace m5::text {

// The bytes must outlive the cursor.
class CLineCursor {
 public:
  CLineCursor(std::string_view bytes, EncodingSetting setting,
              std::size_t chunkBytes = kChunkBytes);
  CLineCursor(const CLineCursor&) = delete;
  CLineCursor& operator=(const CLineCursor&) = delete;

  const DecidedReading& Decided() const { return m_reader.Decided(); }
  // How many lines the file has; known before the first line is decoded.
  std::size_t Count() const { return m_reader.Count(); }
  // The next line, valid until the next call. Call at most Count() times.
  // Throws std::system_error as AppendAnsi does.
  const std::wstring& Next();
  bool IsFirstMalformedLine() const { return m_reader.IsFirstMalformedLine(); }
  std::uint64_t UnreadBytes() const { return m_reader.UnreadBytes(); }

 private:
  CByteView m_bytes;
  CLineReader m_reader;
};

}  // namespace m5::text
