// Where the station being collected stands: the phase decides how point lines, orientations
// and the flush treat it. Its transitions are the parser's, in station_state.cpp.
#pragma once

namespace m5 {

// What a station keyword asks of the station being collected.
enum class StationKeyword {
  // A new set-up: the station collected so far is flushed.
  SetUp,
  // "HEIGHTSTATIONING": heights to the station being set up, or a new set-up outside one.
  HeightStationing,
};

enum class StationPhase {
  // No station keyword yet: a station chosen now goes to the host as a plain point.
  None,
  // A station keyword opened a set-up; known points measured now get kind 1. Height
  // stationing closed by its first direction goes on as a plain set-up.
  SetUp,
  // "HEIGHTSTATIONING" during a set-up: the station stays open for height-only
  // observations until the first observation with a horizontal direction.
  HeightStationing,
  // COORDINATES or MEASURE: the station's observations are measured.
  Measuring,
  // Measuring began before a direction closed the height stationing: an orientation on
  // another point still closes the height station.
  MeasuringFromHeightStation,
};

// A station keyword came and measuring has not started.
constexpr bool IsSetUp(StationPhase phase) {
  return phase == StationPhase::SetUp || phase == StationPhase::HeightStationing;
}

constexpr bool IsMeasuring(StationPhase phase) {
  return phase == StationPhase::Measuring || phase == StationPhase::MeasuringFromHeightStation;
}

// No direction has closed the height stationing yet.
constexpr bool IsHeightStationOpen(StationPhase phase) {
  return phase == StationPhase::HeightStationing ||
         phase == StationPhase::MeasuringFromHeightStation;
}

}  // namespace m5
