#include "host/outputs/delimited_text.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/survey/point_codes.h"

namespace m5host {

namespace {

// A point file is read a point per line, so a line break in a name or code becomes a space;
// a formula is kept from running in a spreadsheet. A cell holding the delimiter or a quote
// is then quoted as CSV readers (GDAL, spreadsheets, Python) expect.
std::string SafeText(const char* what, const std::string& text, OutputNotes& notes) {
  std::string line = text;
  for (char& c : line) {
    if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  const std::string safe = SpreadsheetText(line);
  if (safe != text) {
    notes.Changed("pnezd", what, text, safe);
  }
  return safe;
}

}  // namespace

void WritePnezd(std::ostream& out, const std::vector<FileSurvey>& files,
                const OutputOptions& options, OutputNotes& notes) {
  WriteByteOrderMark(out, options.bom);
  const char d = options.delimiter;
  PointIds ids("pnezd", notes);
  ForEachPlacedPoint(files, [&](const PlacedPoint& point) {
    const SurveyPoint& p = point.record;
    const std::string name = SafeText("point ID", p.name, notes);
    ids.Written(name);
    out << QuotedCell(name, d) << d << FormatLength(*p.x, options.length) << d
        << FormatLength(*p.y, options.length) << d
        << (p.z ? FormatLength(*p.z, options.length) : std::string()) << d
        << QuotedCell(SafeText("code", point.code.value_or(""), notes), d) << "\r\n";
  });
  ids.Finish();
}

}  // namespace m5host
