// The point records of an M5 file as the host sees them before any import: the 27-character
// point-identification texts of its PI, KR and KD lines, and how the file's text is encoded.
// The layout detector and the hint after an import read files through this, and it reads
// their lines with the plug-in's text library (text/), so as the import will read them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/layout/utf8_text.h"
#include "text/m5_line.h"
#include "text/reading.h"

namespace m5host {

using m5::text::kPointIdWidth;

// How the bytes of a file read as text, and which encoding setting reads them.
enum class TextKind {
  Ascii,        // no byte above 0x7F: either setting reads it
  Utf8Mark,     // the mark decides under either setting
  Utf16Mark,    // the mark decides under either setting
  Utf16,        // zero bytes in the pattern of 16-bit text, without a mark
  Utf8,         // valid UTF-8 beyond ASCII
  Windows1251,  // bytes above 0x7F that are not UTF-8
};

enum class EncodingChoice { Win1251, Utf8 };

EncodingChoice ChoiceFor(TextKind kind);
// "plain ASCII", "UTF-8 with a byte-order mark", ...
std::string Describe(TextKind kind);

// Whether a point record holds an observed distance (slope or horizontal): the record of an
// observation, from which the host computes the point.
enum class RecordHolds : std::uint8_t { NoDistance, Distance };

// Where a point record lies: its line as the plug-in's messages count lines (from 0).
struct RecordPlace {
  int line = 0;
  RecordHolds holds = RecordHolds::NoDistance;
};

struct PointRecords {
  TextKind kind = TextKind::Ascii;
  // How the lines were read: the plug-in's reading under the setting ChoiceFor(kind).
  m5::text::Reading reading = m5::text::Reading::Ansi;
  int m5Lines = 0;
  // The text after the four-character prefix of each point record, at most 27 characters.
  std::vector<std::wstring> texts;
  std::vector<RecordPlace> places;  // of each text, in step with texts
  // The first line that is not M5 (1-based), where an import would stop; 0 when none.
  int stopLine = 0;
};

// How the bytes read, as the plug-in's text library decides: the mark and the zero bytes of
// 16-bit text by its reading, valid UTF-8 by its decoder. A sample cut from a longer file is
// judged up to its last whole line.
TextKind ClassifyText(std::string_view bytes, SampleEnd end = SampleEnd::Whole);

// Reads at most maxRecords point records (0: all) from the file's bytes, with their lines
// cut where the plug-in cuts them; the last line of a cut sample is left unread.
PointRecords ScanPointRecords(std::string_view bytes, std::size_t maxRecords = 0,
                              SampleEnd end = SampleEnd::Whole);

// The same from a file; nothing, with error set, when it cannot be read. With a limit only
// the start of the file is read, enough for that many records.
std::optional<PointRecords> ReadPointRecords(const std::string& path, std::string& error,
                                             std::size_t maxRecords = 0);

}  // namespace m5host
