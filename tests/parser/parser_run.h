// Runs M5 text through a whole CParser against the recording fake host, so a test reads
// like the survey it describes and compares the host's calls as one trace.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "parser/record_layout.h"

namespace m5test {

struct RunOptions {
  m5::RecordLayout layout;
  bool recordFactory = false;  // factory calls clutter most traces
  bool withoutFactory = false;
};

// Feeds the lines in order (stopping at a FatalError, as the driver does), calls Finish
// when no line was fatal, destroys the parser and returns the trace. Fails the running
// test when the references on the host's converters do not balance.
std::string Survey(const std::vector<std::wstring>& lines, const RunOptions& options = {});
// The same over a text split at line feeds.
std::string SurveyText(const std::wstring& text, const RunOptions& options = {});

// "For M5|Adr 00001|" + info block + "|" + the data blocks, "|" apart.
std::wstring Line(const std::wstring& infoBlock, std::initializer_list<std::wstring> blocks = {});
// A text record "TI  <text>".
std::wstring Text(const std::wstring& text, std::initializer_list<std::wstring> blocks = {});
// A point record "PI1 " with the name in the 14 and the code in the 13 characters of the
// default layout, followed by the time of measurement 12:34.
std::wstring Point(const std::wstring& name, const std::wstring& code,
                   std::initializer_list<std::wstring> blocks = {});

// The trace of the host's calls for a default station: the warning, then AddStation.
std::string DefaultStation(const std::string& name);

// A warning of the string table with its placeholder filled, as the trace shows it.
std::string Warning(unsigned int id, const std::wstring& argument);
// The warning that names a point record which did not reach the host. When the record came
// from another line than the one being parsed, the host is moved to the record's line for
// it and back to `back` after it.
std::string NotImported(unsigned int id, const std::wstring& name);
std::string NotImported(unsigned int id, const std::wstring& name, int line, int back);

// The warning on the line that opened a skipped section (0-based, as is back, the line the
// host returns to) for the point records it skipped, closed on closeLine (0-based), or
// running to the end of the file when closeLine is -1.
std::string SectionSkipped(int openLine, int back, int points, int closeLine = -1);
// The warning for a unit of another quantity than its block's: the unit text, the block's
// type code and the string-table id of what the block needs.
std::string UnitOfAnotherQuantity(const std::wstring& unit, const std::wstring& type,
                                  unsigned int needs);
// The line's warning for its blocks that gave nothing: the record as it is named, and each
// block as shown with the string-table id of why.
std::string BlocksNotImported(const std::wstring& record,
                              std::initializer_list<std::pair<std::wstring, unsigned int>> blocks);

// Message texts as the trace shows them, with the SetCurrentLine(-1) of file messages.
extern const std::string kWrongImportMode;
extern const std::string kWrongFileFormat;
extern const std::string kOldSoftwareLine;
extern const std::string kNoPointName;
extern const std::string kNoStationDeclared;
extern const std::string kHeightChanged;
extern const std::string kMaybeOldSoftware;

}  // namespace m5test
