// The blunder check names the observation a computed point came from by its line: the
// plug-in sends a station's records without their lines, so m5import finds the line in the
// file it read, with the layout the import used.
#pragma once

#include <vector>

#include "host/cli/input_files.h"
#include "host/layout/layout_detection.h"
#include "host/outputs/output_notes.h"
#include "host/survey/survey.h"

namespace m5host {

// Gives each note about an observation the line of that observation's record: the same
// occurrence among the file's observations of that point name (the first where the file
// holds fewer). A file that cannot be read again leaves its notes on the file as a whole.
void LocateObservations(OutputNotes& notes, const std::vector<FileSurvey>& files,
                        const InputFiles& inputs, const FieldLayout& layout);

}  // namespace m5host
