// The plug-in's promise to the surveyor, checked from the outside: every point record of a
// file that carries a value either reaches the host under its name or is named in a message
// on its own line. The checker reads the file's lines as the plug-in reads them and compares
// them with a recording sink's trace of the import.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "import/import_settings.h"

namespace m5test {

// A point record the import neither named to the host nor reported on its line.
struct LostPoint {
  int line = 0;  // 0-based, as SetCurrentLine counts
  std::wstring name;
};

// The file's lines decoded as the plug-in decodes them with these settings (the encoding
// setting picks the reading); nothing when the file cannot be read.
std::optional<std::vector<std::wstring>> ReadLinesAsImported(const std::wstring& path,
                                                             const ImportSettings& settings);

// The point records of lines that the trace of their import (every sink call, with
// SetCurrentLine recorded) loses. Points are looked for up to the first line that is not
// M5, with a non-empty name and a value of their own, one of a type no row knows, or an
// instrument height or orientation. A point inside a skipped section is kept when the line
// that opened the section has a message; a point whose only values choose the station,
// when a message names it on any line (its station's record was given up there).
std::vector<LostPoint> FindLostPoints(const std::vector<std::wstring>& lines,
                                      const ImportSettings& settings,
                                      const std::vector<std::string>& trace);

// The data blocks of lines whose import (the trace, as above) neither delivered the value
// nor named the block on its line, each as «its text». A block must be named when it
// plainly gives nothing: a type code no row knows or type and value not apart, a unit the
// table does not know or of another quantity, a value that is no number, "th" outside input
// values, a block of a station keyword's or an unknown record's line, or of a skipped
// section (where the line that opened it may name it). A message names a block when it
// quotes the block, its unit, or the line's point.
std::vector<LostPoint> FindUnnamedBlocks(const std::vector<std::wstring>& lines,
                                         const ImportSettings& settings,
                                         const std::vector<std::string>& trace);

// "line 12: P7" rows, one per lost point, for a failure message.
std::string Describe(const std::vector<LostPoint>& lost);

}  // namespace m5test
