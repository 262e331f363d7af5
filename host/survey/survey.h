// What the host collected from one import: per file, the stations with their
// observations, and the messages with the lines they belong to. Values are in the host's
// base units (metres, radians, hPa, °C); texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/survey/compact_text.h"
#include "host/survey/maybe_double.h"

namespace m5host {

enum class Severity { Warning, Error };

struct Message {
  Severity severity = Severity::Error;
  int line = -1;  // 0-based line index, -1 for the file as a whole
  std::string text;
};

// "error" or "warning", as every output names a message's severity.
const char* SeverityName(Severity severity);

// A message's text on one line, for a row or a line of its own: a line break becomes a space.
std::string OnOneLine(std::string text);

// How the plug-in named a record: AddStation, AddPoint or AddTarget.
enum class Role : std::uint8_t { Station, Point, Target };

const char* RoleName(Role role);

// A million of these make a large survey: the fields read as std::optional and std::string
// do, in about half their size.
struct SurveyPoint {
  MaybeDouble x, y, z;
  MaybeDouble instrumentHeight, temperature, pressure;
  MaybeDouble horizontalDirection, verticalAngle;
  MaybeDouble slopeDistance, horizontalDistance, heightDifference, targetHeight;
  CompactText name;
  MaybeText code;
  std::optional<int> kind;
  std::optional<int> flag;
  Role role = Role::Point;

  bool HasPlanCoordinates() const { return x.has_value() && y.has_value(); }
};

// A station and what was observed from it. Records named before the first station of a
// file form a set-up without a station.
struct StationSetup {
  std::optional<SurveyPoint> station;
  std::vector<SurveyPoint> observations;
};

struct FileSurvey {
  std::string path;
  std::vector<StationSetup> setups;
  std::vector<Message> messages;

  int Count(Severity severity) const;
};

// The 1-based line number of a line index, empty for -1 (no line).
std::string LineNumber(int line);
// "file" for -1, otherwise the 1-based line number.
std::string LineLabel(int line);

}  // namespace m5host
