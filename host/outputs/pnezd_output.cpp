#include "host/outputs/delimited_text.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/survey/point_codes.h"

namespace m5host {

namespace {

// Point files have no quoting: the delimiter or a line break inside a name or code would
// shift the columns, so it becomes a space.
std::string Plain(const char* what, const std::string& text, char delimiter, OutputNotes& notes) {
  std::string out = text;
  for (char& c : out) {
    if (c == delimiter || c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  if (out != text) {
    notes.Changed("pnezd", what, text, out);
  }
  return out;
}

}  // namespace

void WritePnezd(std::ostream& out, const std::vector<FileSurvey>& files,
                const OutputOptions& options, OutputNotes& notes) {
  WriteByteOrderMark(out, options.bom);
  const char d = options.delimiter;
  PointIds ids("pnezd", notes);
  ForEachPlacedPoint(files, [&](const PlacedPoint& point) {
    const SurveyPoint& p = point.record;
    const std::string name = Plain("point ID", p.name, d, notes);
    ids.Written(name);
    out << name << d << FormatLength(*p.x, options.length) << d
        << FormatLength(*p.y, options.length) << d
        << (p.z ? FormatLength(*p.z, options.length) : std::string()) << d
        << Plain("code", point.code.value_or(""), d, notes) << "\r\n";
  });
  ids.Finish();
}

}  // namespace m5host
