// What the parser takes from the plug-in's format settings for one file: where a point
// record keeps the point name and the code, and how the instrument recorded Hz. The import
// driver fills it from the settings the host stored.
#pragma once

#include <cstdint>

namespace m5 {

enum class HzRecording {
  // Every Hz is a circle reading and goes to the host as the file holds it.
  AbsoluteReading,
  // Hz is an oriented direction: those observed while the station was being set up are
  // turned by the station's orientation once measuring starts.
  OrientedDirection,
};

// The defaults are the instrument's own layout: the name in characters 1 to 14 of the
// 27-character point-id text, the code in 15 to 27.
struct RecordLayout {
  // 1-based position and length of each field in the point-id text. Taken unchecked from
  // the store: any value is safe, a field outside the text is empty.
  std::int32_t nameStart = 1;
  std::int32_t nameLength = 14;
  std::int32_t codeStart = 15;
  std::int32_t codeLength = 13;
  HzRecording hz = HzRecording::OrientedDirection;
};

}  // namespace m5
