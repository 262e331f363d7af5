// The output formats of m5import, one row each: its name, its help, the output options it
// uses and its writer. The command line's --format choices and help, its checks of the
// output options and the writing itself all read these rows; a new format is the file of
// its writer and one row.
#pragma once

#include <initializer_list>
#include <ostream>
#include <string_view>
#include <vector>

#include "host/outputs/output_notes.h"
#include "host/outputs/output_options.h"
#include "host/survey/survey.h"

namespace m5host {

// An output option that only some formats use.
enum class OutputOption : unsigned {
  Units = 1u << 0,
  Angles = 1u << 1,
  Delimiter = 1u << 2,
  NoHeader = 1u << 3,
  Bom = 1u << 4,
  Crs = 1u << 5,
  Scale = 1u << 6,
  Codes = 1u << 7,
  Elevations = 1u << 8,
  Tolerance = 1u << 9,
  Sheet = 1u << 10,
  NoSightLines = 1u << 11,
};

class OutputOptionSet {
 public:
  constexpr OutputOptionSet(std::initializer_list<OutputOption> options) {
    for (const OutputOption option : options) {
      m_bits |= static_cast<unsigned>(option);
    }
  }
  constexpr bool Has(OutputOption option) const {
    return (m_bits & static_cast<unsigned>(option)) != 0;
  }

 private:
  unsigned m_bits = 0;
};

// The command line's name of each output option.
struct OutputOptionName {
  OutputOption option;
  const char* name;
};
inline constexpr OutputOptionName kOutputOptionNames[] = {
    {OutputOption::Units, "--units"},
    {OutputOption::Angles, "--angles"},
    {OutputOption::Delimiter, "--delimiter"},
    {OutputOption::NoHeader, "--no-header"},
    {OutputOption::Bom, "--bom"},
    {OutputOption::Crs, "--crs"},
    {OutputOption::Scale, "--scale"},
    {OutputOption::Codes, "--svg-codes"},
    {OutputOption::Elevations, "--svg-elevations"},
    {OutputOption::Tolerance, "--tolerance"},
    {OutputOption::Sheet, "--sheet"},
    {OutputOption::NoSightLines, "--svg-no-sight-lines"},
};

using OutputWriter = void (*)(std::ostream& out, const std::vector<FileSurvey>& files,
                              const OutputOptions& options, OutputNotes& notes);

// Where the plug-in's messages about a survey go: into the output, when the format has a
// place for them, else to stderr as editors and build tools read them (message_lines.h).
enum class MessagePlace { InOutput, StandardError };

// What a format's coordinates are: the survey's grid, longitude and latitude once --crs
// names the grid, or longitude and latitude only.
enum class Coordinates { Grid, LongitudeLatitudeWithCrs, LongitudeLatitude };

struct OutputFormat {
  const char* name;  // as --format takes it
  const char* help;  // one line of --help
  OutputOptionSet accepts;
  // Writes the collected survey; none for a format written call by call while the import
  // runs (the trace, which shows the plug-in's calls themselves).
  OutputWriter write;
  MessagePlace messages = MessagePlace::StandardError;
  Coordinates coordinates = Coordinates::Grid;

  bool WrittenDuringImport() const { return write == nullptr; }
};

// Every format, in the order --help lists them; the first is the default.
const std::vector<OutputFormat>& OutputFormats();
const OutputFormat& DefaultOutputFormat();
// The format of that name, or none.
const OutputFormat* FindOutputFormat(std::string_view name);
// The plan, which --svg FILE draws beside the chosen format.
const OutputFormat& PlanFormat();

}  // namespace m5host
