// The blunder check surveyors rely on: where the instrument recorded the coordinates of a
// point the host also computes from its observation, the two are compared, and a
// difference above the tolerance is a warning naming the point and the difference.
#pragma once

#include <vector>

#include "host/outputs/output_notes.h"
#include "host/outputs/output_options.h"
#include "host/survey/survey.h"

namespace m5host {

// 5 mm: the instrument writes coordinates to the millimetre, and its own reduction agrees
// with ours within one.
inline constexpr double kDefaultToleranceMetres = 0.005;

void NoteComputedDifferences(const std::vector<FileSurvey>& files, const OutputOptions& options,
                             OutputNotes& notes);

}  // namespace m5host
