#include "host/outputs/computed_check.h"

#include <cmath>

#include "host/outputs/value_format.h"
#include "host/survey/computed_points.h"

namespace m5host {

namespace {

// Millimetres at least; under a millimetre, a digit finer than the tolerance's first, so that
// neither the tolerance nor a difference just above it reads as zero or as the tolerance.
int DecimalsFor(double tolerance, LengthUnit unit) {
  // Scaled by ten at a time, with a margin, so that 0.0001 counts as the 1e-4 it was typed as
  // whatever the run-time's pow makes of 10^-4.
  double scaled = tolerance / MetresPerUnit(unit) * 1000;
  int decimals = 3;
  while (decimals < 9 && scaled > 0 && scaled < 1 - 1e-9) {
    scaled *= 10;
    ++decimals;
  }
  return decimals == 3 ? decimals : decimals + 1;
}

std::string Signed(double metres, LengthUnit unit, int decimals) {
  const std::string text = Fixed(metres / MetresPerUnit(unit), decimals);
  return text[0] == '-' ? text : "+" + text;
}

}  // namespace

void NoteComputedDifferences(const std::vector<FileSurvey>& files, const OutputOptions& options,
                             OutputNotes& notes) {
  const LengthUnit unit = options.length;
  const double tolerance =
      options.tolerance ? *options.tolerance * MetresPerUnit(unit) : kDefaultToleranceMetres;
  const int decimals = DecimalsFor(tolerance, unit);
  auto length = [&](double metres) { return Fixed(metres / MetresPerUnit(unit), decimals); };
  for (const FileSurvey& file : files) {
    const ComputedPoints computed(file);
    for (const ComputedPoint& point : computed.All()) {
      if (point.recorded == nullptr) {
        continue;
      }
      const PointDifference d = DifferenceFromRecorded(point);
      if (!(d.Length() <= tolerance)) {
        const std::string symbol = LengthSymbol(unit);
        std::string text =
            "point " + point.observation->name.str() + ": computed from its " + "observation " +
            length(d.Length()) + " " + symbol + " from the instrument's coordinates (north " +
            Signed(d.north, unit, decimals) + ", east " + Signed(d.east, unit, decimals);
        if (d.elevation) {
          text += ", elevation " + Signed(*d.elevation, unit, decimals);
        }
        text += "), more than the tolerance of " + length(tolerance) + " " + symbol;
        notes.AddAt(file.path, -1, text, point.observation);
      }
    }
  }
}

}  // namespace m5host
