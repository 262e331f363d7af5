// The plug-in's messages about the surveys, for the formats that have no place for them,
// one a line as compilers write theirs, so that editors and build tools take the surveyor
// to the line:
//   day1.dat:12: error: TEXT
//   day1.dat: warning: TEXT        (a message about the whole file)
#pragma once

#include <ostream>
#include <vector>

#include "host/outputs/output_notes.h"
#include "host/survey/survey.h"

namespace m5host {

void WriteMessageLines(std::ostream& out, const std::vector<FileSurvey>& files);

// The writers' warnings about places in the surveys, in the same form.
void WriteLocatedNotes(std::ostream& out, const OutputNotes& notes);

}  // namespace m5host
