#include <cmath>

#include "host/outputs/delimited_text.h"
#include "host/outputs/output_formats.h"
#include "host/outputs/value_format.h"
#include "host/survey/computed_points.h"
#include "host/survey/point_codes.h"

namespace m5host {

namespace {

// A point file is read a point per line, so a line break in a name or code becomes a space;
// a formula is kept from running in a spreadsheet. A cell holding the delimiter or a quote
// is then quoted as CSV readers (GDAL, spreadsheets, Python) expect.
std::string SafeText(const std::string& file, const char* what, const std::string& text,
                     OutputNotes& notes) {
  std::string line = text;
  for (char& c : line) {
    if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }
  const std::string safe = SpreadsheetText(line);
  if (safe != text) {
    notes.ChangedIn(file, "pnezd", what, text, safe);
  }
  return safe;
}

}  // namespace

void WritePnezd(std::ostream& out, const std::vector<FileSurvey>& files,
                const OutputOptions& options, OutputNotes& notes) {
  WriteByteOrderMark(out, options.bom);
  const char d = options.delimiter;
  PointIds ids("pnezd", notes);
  // CAD keys a point by its number and styles it by its description, so each point is
  // written once with its code as it stands: the instrument's coordinates where it recorded
  // them, the computed ones only for the points it sighted without recording.
  ForEachPosition(files, [&](const PositionedPoint& point) {
    const SurveyPoint& record = point.record;
    const bool recordPlaced =
        record.HasPlanCoordinates() && std::isfinite(*record.x) && std::isfinite(*record.y);
    if (point.computed != nullptr && (point.computed->recorded != nullptr || recordPlaced)) {
      return;
    }
    const GridPosition& at = point.position;
    const std::string name = SafeText(point.file.path, "point ID", record.name, notes);
    ids.Written(name);
    out << QuotedCell(name, d) << d << FormatLength(at.north, options.length) << d
        << FormatLength(at.east, options.length) << d
        << (at.elevation ? FormatLength(*at.elevation, options.length) : std::string()) << d
        << QuotedCell(SafeText(point.file.path, "code", point.code.value_or(""), notes), d)
        << "\r\n";
  });
  ids.Finish();
}

}  // namespace m5host
