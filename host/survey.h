// What the host collected from one import: per file, the stations with their
// observations, and the messages with the lines they belong to. Values are in the host's
// base units (metres, radians, hPa, °C); texts are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m5host {

enum class Severity { Warning, Error };

struct Message {
  Severity severity = Severity::Error;
  int line = -1;  // 0-based line index, -1 for the file as a whole
  std::string text;
};

// How the plug-in named a record: AddStation, AddPoint or AddTarget.
enum class Role { Station, Point, Target };

const char* RoleName(Role role);

struct SurveyPoint {
  Role role = Role::Point;
  std::string name;
  std::optional<std::string> code;
  std::optional<int> kind;
  std::optional<int> flag;
  std::optional<double> x, y, z;
  std::optional<double> instrumentHeight, temperature, pressure;
  std::optional<double> horizontalDirection, verticalAngle;
  std::optional<double> slopeDistance, horizontalDistance, heightDifference, targetHeight;

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
