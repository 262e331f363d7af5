// What the parser gathers for the station being collected until its flush sends it, and the
// values of the survey that every later station inherits.
#pragma once

#include "parser/pending_observations.h"
#include "parser/point_record.h"

namespace m5 {

// One station's own data: the flush sends it and then replaces it whole.
struct CollectedStation {
  // The station's point, once an "ih" or "Om" block chose it; it may be the line's record.
  PointRecordPtr record;
  // The instrument height given since the station opened; another one later is an error.
  Measured instrumentHeight;
  // The observations waiting for the flush.
  CPendingObservations observations;
};

// Values a survey states once; every later station is sent with them until a block changes
// them.
struct SurveyValues {
  Measured instrumentHeight;
  // Entered with "th" on a line of input values; every target gets it while a reflector is
  // in use.
  Measured targetHeight;
  Measured temperature;
  Measured pressure;
  bool reflector = true;
  // The orientation read last; when measuring starts it turns the set-up's directions and
  // is spent. Until then it outlives a flush: the observations that follow a closed height
  // stationing come from the same instrument set-up.
  double orientation = 0.0;
};

}  // namespace m5
