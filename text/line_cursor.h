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
  // A 16-bit file cut by one byte after its last line end holds no line of that byte: its
  // malformed character is the last line's, which warns of it if no line did before.
  bool IsFirstMalformedLine() const { return m_firstMalformedLine; }
  // How many bytes a 0x1A in the middle of an 8-bit file left unread (text/reading.h); 0
  // when nothing but padding follows the end of the text.
  std::size_t UnreadBytes() const { return m_decided.unread.size(); }

 private:
  DecidedReading m_decided;
  std::size_t m_count = 0;
  std::size_t m_position = 0;
  std::size_t m_read = 0;
  bool m_cutAfterLastLine = false;
  bool m_malformedSeen = false;
  bool m_firstMalformedLine = false;
  std::wstring m_line;
};

}  // namespace m5::text
