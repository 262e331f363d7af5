// The lines of a survey file read a chunk at a time: memory holds a chunk and the longest
// line, whatever the file's size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "text/byte_source.h"
#include "text/reading.h"

namespace m5::text {

// Bytes read from a file at a time (measured: BENCHMARKS.md). A longer line is carried over
// as many chunks as it takes.
inline constexpr std::size_t kChunkBytes = 64 * 1024;

// The reading is decided once, from the first bytes and the setting (text/reading.h). Lines
// end at CR LF, at LF and at a lone CR in every reading, and every line end counts for the
// line numbers. A character that is not text in the reading becomes U+FFFD
// (text/decoders.h); the line stays whole. A 0x1A ends 8-bit text; 0x1A bytes that pad
// the end of the file end it quietly in every reading.
// Whether bytes, read as decided, end right after a line end (their last whole character is
// a CR or LF): a sample cut from a longer file then holds no cut line. A lone last byte of
// 16-bit text is no character.
bool EndsAtLineEnd(std::string_view bytes, const DecidedReading& decided);

class CLineReader {
 public:
  // Reads the source through once, keeping nothing, to decide its reading and count its
  // lines; the lines then follow from its start. Throws what the source throws.
  CLineReader(IByteSource& source, EncodingSetting setting, std::size_t chunkBytes = kChunkBytes);

  const DecidedReading& Decided() const { return m_decided; }
  // How many lines the file has, known before the first line is decoded.
  std::size_t Count() const { return m_count; }
  // The bytes a 0x1A in the middle of 8-bit text left unread when text follows it (two
  // transfers joined into one file); 0 when only padding, blank lines and NULs follow.
  std::uint64_t UnreadBytes() const { return m_unreadBytes; }

  // The next line, valid until the next call; null after Count() lines, or sooner when the
  // file lost lines since they were counted. Throws what the source throws, and
  // std::system_error as AppendAnsi does.
  const std::wstring* Next();
  // Whether the line Next() gave last is the file's first to hold a malformed character:
  // the user is told once per file, on that line. A 16-bit file cut by one byte after its
  // last line end holds no line of that byte: its malformed character is the last line's.
  bool IsFirstMalformedLine() const { return m_firstMalformedLine; }

  // The bytes of a file held at once: the line being cut and the chunk after it.
  struct Window {
    std::string bytes;
    std::size_t begin = 0;    // where the line being cut starts
    std::size_t end = 0;      // bytes held
    std::size_t scanned = 0;  // bytes from begin on known to hold no line end
    bool sourceEnded = false;
    bool endMark = false;  // a 0x1A ended 8-bit text at begin
  };

 private:
  void Start();

  IByteSource& m_source;
  std::size_t m_chunkBytes;
  DecidedReading m_decided;
  std::size_t m_count = 0;
  std::uint64_t m_unreadBytes = 0;
  bool m_cutAfterLastLine = false;
  std::size_t m_read = 0;
  bool m_malformedSeen = false;
  bool m_firstMalformedLine = false;
  Window m_window;
  std::wstring m_line;
};

}  // namespace m5::text
