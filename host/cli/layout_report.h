// What m5import settings --detect says: per file what it read, then where the name and the
// code lie in the point records of all the files together and which encoding reads them.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "host/cli/input_files.h"
#include "host/layout/layout_detection.h"
#include "host/layout/point_records.h"
#include "host/session/session.h"

namespace m5host {

struct DetectedSettings {
  FieldLayout layout;
  EncodingChoice encoding = EncodingChoice::Win1251;
};

// Reads the files and explains in plain lines what it saw; nothing when no file holds a
// point record to read a layout from.
std::optional<DetectedSettings> DetectSettings(const std::vector<std::string>& files,
                                               std::ostream& out);

// The settings as edits of the settings page: key and value, the choice by its id.
std::vector<std::pair<std::string, std::string>> AsEdits(const DetectedSettings& settings);

// The layout the session's plug-in holds.
FieldLayout HeldLayout(const Session& session);

// After an import: one line on the first file whose point records plainly do not fit the
// layout (most names empty, or most names or codes cut inside a word), pointing to
// settings --detect; empty when they fit.
// Reads each file where the import read it (a copy for standard input or a FIFO).
std::string LayoutHint(const std::vector<InputFile>& files, const FieldLayout& layout);

}  // namespace m5host
