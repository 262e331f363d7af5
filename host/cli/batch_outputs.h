// A day's files at once: with --output-dir, one output per input file, named after the file
// with the format's extension; and at the end of a batch run, how the files fared.
#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "host/cli/command_line.h"
#include "host/survey/survey.h"

namespace m5host {

// The extension a format's files take ("csv", "xml" for landxml).
const char* FileExtension(const OutputFormat& format);

// The output of one input in folder: the input's name without its folder and extension, then
// the format's; a name taken before by another input gets "-2", "-3", ...
std::string OutputPathFor(const std::string& folder, const std::string& input,
                          const OutputFormat& format, std::set<std::string>& taken);

enum class BatchWritten { All, NotAll };

// Writes each file that converted to something to its own output in options.outputDir, as
// -o is written (a temporary put in place when whole); a file that converted to nothing
// leaves an output of an earlier run as it was.
BatchWritten WriteOutputPerFile(const Options& options, const std::vector<FileSurvey>& files);

// How the files of a batch run fared.
struct BatchCounts {
  int clean = 0;       // converted, no message
  int warnings = 0;    // converted, with warnings only
  int errors = 0;      // with errors (the plug-in's, or nothing converted)
  int unreadable = 0;  // not read at all

  int Total() const { return clean + warnings + errors + unreadable; }
};

// A file the host warned about (noted, by its shown path: the blunder check) counts as one
// with warnings, as one the plug-in warned about does.
BatchCounts CountFiles(const std::vector<FileSurvey>& files, int unreadable,
                       const std::set<std::string>& noted);

// "12 file(s): 9 converted without a message, 2 with warnings, 1 with errors, 0 unreadable"
std::string Summary(const BatchCounts& counts);

}  // namespace m5host
