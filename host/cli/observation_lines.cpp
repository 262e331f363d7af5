#include "host/cli/observation_lines.h"

#include <map>
#include <optional>

#include "host/layout/observation_line.h"
#include "host/layout/point_records.h"
#include "host/survey/point_codes.h"

namespace m5host {

namespace {

bool HoldsDistance(const SurveyPoint& record) {
  return record.slopeDistance.has_value() || record.horizontalDistance.has_value();
}

// The file holding the observation, and how many observations of its name come before it.
struct Occurrence {
  const FileSurvey* file = nullptr;
  std::size_t before = 0;
};

Occurrence Find(const std::vector<FileSurvey>& files, const SurveyPoint& observation) {
  for (const FileSurvey& file : files) {
    Occurrence found;
    std::size_t before = 0;
    ForEachRecord(file, [&](const StationSetup&, const SurveyPoint& record) {
      if (&record == &observation) {
        found = {&file, before};
      } else if (found.file == nullptr && HoldsDistance(record) &&
                 record.name.str() == observation.name.str()) {
        ++before;
      }
    });
    if (found.file != nullptr) {
      return found;
    }
  }
  return {};
}

const InputFile* InputOf(const InputFiles& inputs, const std::string& shownName) {
  for (const InputFile& input : inputs.Files()) {
    if (input.shownName == shownName) {
      return &input;
    }
  }
  return nullptr;
}

}  // namespace

void LocateObservations(OutputNotes& notes, const std::vector<FileSurvey>& files,
                        const InputFiles& inputs, const FieldLayout& layout) {
  std::map<const FileSurvey*, std::optional<PointRecords>> read;  // each file once
  for (OutputNotes::Located& note : notes.AllLocated()) {
    if (note.observation == nullptr || note.line >= 0) {
      continue;
    }
    const Occurrence occurrence = Find(files, *note.observation);
    if (occurrence.file == nullptr) {
      continue;
    }
    auto [place, fresh] = read.try_emplace(occurrence.file);
    if (fresh) {
      if (const InputFile* input = InputOf(inputs, occurrence.file->path)) {
        std::string error;
        place->second = ReadPointRecords(input->readPath, error);
      }
    }
    if (place->second) {
      note.line =
          ObservationLine(*place->second, layout, note.observation->name.str(), occurrence.before)
              .value_or(-1);
    }
  }
}

}  // namespace m5host
