#include "host/outputs/computed_check.h"

#include "host/outputs/value_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

std::string Signed(double metres, LengthUnit unit) {
  const std::string text = FormatLength(metres, unit);
  return text[0] == '-' ? text : "+" + text;
}

}  // namespace

void NoteComputedDifferences(const std::vector<FileSurvey>& files, const OutputOptions& options,
                             OutputNotes& notes) {
  const LengthUnit unit = options.length;
  const double tolerance =
      options.tolerance ? *options.tolerance * MetresPerUnit(unit) : kDefaultToleranceMetres;
  for (const FileSurvey& file : files) {
    const ComputedPoints computed(file);
    for (const ComputedPoint& point : computed.All()) {
      if (point.recorded == nullptr) {
        continue;
      }
      const PointDifference d = DifferenceFromRecorded(point);
      if (!(d.Length() <= tolerance)) {
        const std::string symbol = LengthSymbol(unit);
        std::string text = "point " + point.observation->name.str() + ": computed from its " +
                           "observation " + FormatLength(d.Length(), unit) + " " + symbol +
                           " from the instrument's coordinates (north " + Signed(d.north, unit) +
                           ", east " + Signed(d.east, unit);
        if (d.elevation) {
          text += ", elevation " + Signed(*d.elevation, unit);
        }
        text += "), more than the tolerance of " + FormatLength(tolerance, unit) + " " + symbol;
        notes.AddAt(file.path, -1, text, point.observation);
      }
    }
  }
}

}  // namespace m5host
