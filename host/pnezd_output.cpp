#include "host/output_formats.h"
#include "host/value_format.h"

namespace m5host {

namespace {

// Point files have no quoting: a comma inside a name or code would shift the columns.
std::string Plain(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (c == ',' || c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  return out;
}

void WriteRow(std::ostream& out, const SurveyPoint& p) {
  if (!p.HasPlanCoordinates()) {
    return;
  }
  out << Plain(p.name) << ',' << FormatLength(*p.x) << ',' << FormatLength(*p.y) << ','
      << (p.z ? FormatLength(*p.z) : std::string()) << ',' << Plain(p.code.value_or("")) << "\r\n";
}

}  // namespace

void WritePnezd(std::ostream& out, const std::vector<FileSurvey>& files) {
  for (const FileSurvey& file : files) {
    for (const StationSetup& setup : file.setups) {
      if (setup.station) {
        WriteRow(out, *setup.station);
      }
      for (const SurveyPoint& observation : setup.observations) {
        WriteRow(out, observation);
      }
    }
  }
}

}  // namespace m5host
