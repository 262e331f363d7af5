// The lines of a survey file: its bytes in, one wide string per line out, in file order.
#pragma once

#include <string>
#include <string_view>

#include "text/reading.h"

namespace m5::text {

// The lines of a whole file's bytes, decoded one at a time into a reused buffer, so that a
// large survey never exists as wide text all at once. The bytes must outlive the cursor.
//
// The reading is decided once, from the bytes and the setting (text/reading.h). Lines end
// at CR LF, at LF and at a lone CR in every reading, and every line end counts for the line
// numbers. A character that is not text in the reading becomes U+FFFD (text/decoders.h);
// the line stays whole.
class CLineCursor {
 public:
  CLineCursor(std::string_view bytes, EncodingSetting setting);

  const DecidedReading& Decided() const { return m_decided; }
  // How many lines the file has; known before the first line is decoded.
  std::size_t Count() const { return m_count; }
  // The next line, valid until the next call. Call at most Count() times.
  // Throws std::system_error as AppendAnsi does.
  const std::wstring& Next();
  // Whether the line Next() gave last is the file's first to hold a U+FFFD put in for a
  // malformed character: the user is told once per file, on that line.
  bool IsFirstMalformedLine() const { return m_firstMalformedLine; }

 private:
  DecidedReading m_decided;
  std::size_t m_count = 0;
  std::size_t m_position = 0;
  bool m_malformedSeen = false;
  bool m_firstMalformedLine = false;
  std::wstring m_line;
};

}  // namespace m5::text
