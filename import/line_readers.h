// The two text readings of a survey file, chosen by the encoding setting: the file's bytes
// in, one wide string per line out, in file order.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace m5::import {

using LineList = std::vector<std::wstring>;

// The lines of a whole file's bytes, decoded one at a time into a reused buffer, so that a
// large survey never exists as wide text all at once. Gives exactly the lines of
// ReadLines8Bit or ReadLinesUnicode, in file order. The bytes must outlive the cursor.
//
// A byte-order mark decides the reading whatever ansi says: a marked file is Unicode
// (and must have been read in binary). A character that is not text in the reading (a NUL
// in any of them) becomes U+FFFD; the line stays whole.
class CLineCursor {
 public:
  CLineCursor(std::string_view bytes, bool ansi);

  // How many lines the file has; known before the first line is decoded.
  std::size_t Count() const { return m_count; }
  // The next line, valid until the next call. Call at most Count() times.
  // Throws std::system_error as ReadLines8Bit does.
  const std::wstring& Next();
  // Whether the line Next() gave last is the file's first to hold a U+FFFD put in for a
  // malformed character: the user is told once per file, on that line.
  bool IsFirstMalformedLine() const { return m_firstMalformedLine; }

 private:
  enum class Form { Ansi, Utf8, Utf16LittleEndian, Utf16BigEndian };

  std::string_view m_text;
  Form m_form;
  std::size_t m_count = 0;
  std::size_t m_position = 0;
  bool m_malformedSeen = false;
  bool m_firstMalformedLine = false;
  std::wstring m_line;
};

// 8-bit text in the thread's ANSI code page, as FileMode::Text gives it (CR LF already LF,
// input already ended at 0x1A). Each CR and each LF ends a line. Throws std::system_error
// when the system cannot convert the code page.
void ReadLines8Bit(std::string_view bytes, LineList& lines);

// Unicode text read in binary (UTF-16 or UTF-8, see unicode_text.h); the byte-order mark
// is dropped. CR LF, a lone LF and a lone CR each end a line.
void ReadLinesUnicode(std::string_view bytes, LineList& lines);

}  // namespace m5::import
