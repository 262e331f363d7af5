// The station's state machine. Its events: a station keyword (OpenStation), COORDINATES or
// MEASURE (StartMeasuring), "ih" or "Om" on a point line, which choose the station point, and
// the end of a point line (CommitPoint), where the first direction ends height stationing.
// A flush sends the station (send_station.cpp) and starts the next one from nothing but the
// survey's values; it comes with a station keyword, the end of height stationing, "Om" on
// another point while that is open, and the end of the file.
#include "parser/parser.h"

#include <utility>

#include "parser/text.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"

void CParser::OpenStation(m5::StationKeyword keyword) {
  m_stationKeywordSeen = true;
  if (m5::IsSetUp(m_phase) && keyword == m5::StationKeyword::HeightStationing) {
    // Heights to the station being set up: the station stays open.
    m_phase = m5::StationPhase::HeightStationing;
    return;
  }
  FlushStation();
  // An orientation read for the station just closed, never followed by measuring, does not
  // turn the next station's directions.
  m_survey.orientation = 0.0;
  m_phase = m5::StationPhase::SetUp;
}

CParser::Measuring CParser::StartMeasuring() {
  if (!m_station.record) {
    ReportError(m5::msg::kNoStationDeclared);
    return Measuring::NoStation;
  }
  if (m_layout.hz == m5::HzRecording::OrientedDirection) {
    ApplyOrientation();
  }
  m_survey.orientation = 0.0;
  m_phase = m5::IsHeightStationOpen(m_phase) ? m5::StationPhase::MeasuringFromHeightStation
                                             : m5::StationPhase::Measuring;
  return Measuring::Started;
}

void CParser::ApplyOrientation() {
  if (!m_station.observations.Empty() && m_survey.orientation != 0.0) {
    m_station.observations.Turn(m_survey.orientation);
  }
}

m5::BlockFate CParser::InstrumentHeightOnPoint(const std::wstring& text) {
  if (!m_current) {
    return m5::BlockFate::NotReadHere;
  }
  double height = 0.0;
  // On a point line the instrument height names the station, once.
  if (m_station.record) {
    // The station's own height again changes nothing; any other is not used, and the user
    // is told so on its line.
    if (m_station.record->name != m_current->name ||
        !ReadValue(m5::Quantity::Length, text, height) || height != m_survey.instrumentHeight) {
      ReportWarning(m5::msg::kInstrumentHeightNotUsed, m_current->name);
      return m5::BlockFate::Named;
    }
    return m5::BlockFate::Delivered;
  }
  m_station.record = FindPendingWithCoordinates(*m_current);
  if (!m_station.record) {
    m_station.record = m_current;
  }
  if (!ReadValue(m5::Quantity::Length, text, height)) {
    return m5::BlockFate::SurveyValueUnreadable;
  }
  StoreInstrumentHeight(height);
  return m5::BlockFate::Delivered;
}

void CParser::StoreInstrumentHeight(double height) {
  if (height != m_survey.instrumentHeight && m5::IsSet(m_station.instrumentHeight) &&
      height != m_station.instrumentHeight) {
    ReportError(m5::msg::kInstrumentHeightChanged);
  }
  m_survey.instrumentHeight = height;
  m_station.instrumentHeight = height;
}

m5::BlockFate CParser::OrientationOnPoint(const std::wstring& text) {
  if (!m_current) {
    return m5::BlockFate::NotReadHere;
  }
  if (m_station.record && m5::IsHeightStationOpen(m_phase)) {
    if (m_station.record->name == m_current->name) {
      return m5::BlockFate::NotReadHere;  // the height station orienting itself changes nothing
    }
    // Orienting on another point ends the height stationing's station.
    FlushStation();
  }
  // Oriented again on the station's own name: the station stays, with its values.
  if (!m_station.record || m_station.record->name != m_current->name) {
    RecordPtr station = FindPendingWithCoordinates(*m_current);
    // Set up on another point without a flush: the point chosen before is not sent.
    if (m_station.record) {
      ReportRecordNotImported(m5::msg::kPointStationReplaced, *m_station.record);
    }
    m_station.record = station ? std::move(station) : m_current;
  }

  if (m5::IsMeasuring(m_phase)) {
    // Re-oriented while measuring: the directions measured so far were taken under the
    // orientation before, and the next MEASURE must not turn them by this one.
    m_station.observations.Settle();
  }
  double orientation = 0.0;
  if (!ReadValue(m5::Quantity::Angle, text, orientation)) {
    m_survey.orientation = 0.0;
    return m5::BlockFate::ValueUnreadable;
  }
  m_survey.orientation = orientation;
  return m5::BlockFate::Delivered;
}

m5::PointRecordPtr CParser::FindPendingWithCoordinates(const PointRecord& record) {
  return m_station.observations.TakeLatestWithPosition(record.name);
}

CParser::LineRecord CParser::CommitPoint() {
  PointRecord* const current = m_current.get();
  if (!current || current->name.empty()) {
    return LineRecord::Released;
  }
  if (m_current == m_station.record) {
    return LineRecord::StaysCurrent;
  }
  if (!current->HasValues()) {
    // The message names the point, and with it the blocks of its own line that gave it
    // nothing (a record kept current from an earlier line is named on that line).
    const bool ownLine = current->line == m_lineIndex;
    if (current->valueUnread) {
      ReportRecordNotImported(m5::msg::kPointValuesUnreadable, *current);
      for (const m5::BlockFate unread :
           {m5::BlockFate::ValueUnreadable, m5::BlockFate::SurveyValueUnreadable,
            m5::BlockFate::TypeUnknown, m5::BlockFate::UnitUnfit}) {
        if (ownLine) {
          m_ledger.Name(unread);
        }
      }
    } else if (current->typeUnknown) {
      ReportRecordNotImported(m5::msg::kPointTypesUnknown, *current);
      if (ownLine) {
        m_ledger.Name(m5::BlockFate::TypeUnknown);
      }
    }
    return LineRecord::Released;
  }

  if (m_phase == m5::StationPhase::HeightStationing && m_station.record) {
    if (m5::IsSet(current->hz)) {
      // The first direction ends the height stationing; that observation is not kept.
      CloseHeightStationing();
      ReportRecordNotImported(m5::msg::kPointHeightStationing, *current);
      return LineRecord::Released;
    }
    if (current->name == m_station.record->name && current->HasPosition() &&
        m5::IsSet(current->z)) {
      m_station.record->x = current->x;
      m_station.record->y = current->y;
      m_station.record->z = current->z;
      return LineRecord::Released;
    }
    return LineRecord::StaysCurrent;
  }

  if (m_station.record && m_station.record->name == current->name) {
    m_sink->ReportError(
        m5::FormatMessage(m5::platform::LoadResourceString(m5::msg::kTargetNamedAsStation),
                          current->name)
            .c_str());
    return LineRecord::Released;
  }

  if (!m_station.record && m5::IsSetUp(m_phase) && current->HasPosition()) {
    current->kind = 1;  // a known point measured during the set-up
  }
  current->targetHeight = m_survey.reflector ? m_survey.targetHeight : 0.0;
  if (m5::IsMeasuring(m_phase) && !m_station.observations.Empty()) {
    // A point measured first and given coordinates right after: its code goes to the
    // host once, with the measured observation.
    const PointRecord& last = *m_station.observations.Last();
    if (last.name == current->name && last.code == current->code && !m5::IsSet(last.x) &&
        !m5::IsSet(last.y) && current->HasPosition()) {
      current->code.clear();
    }
  }
  m_station.observations.Add(m_current);
  return LineRecord::Released;
}

void CParser::ReportCurrentRecordLost() {
  // Only height stationing keeps a record with values current past its line without
  // making it the station.
  if (m_current && m_current != m_station.record && m_current->HasValues()) {
    ReportRecordNotImported(m5::msg::kPointHeightStationing, *m_current);
  }
}

void CParser::CloseHeightStationing() {
  FlushStation();
  m_phase = m5::StationPhase::SetUp;
}

void CParser::FlushStation() {
  if (m_firstFlush && !m_station.record && m_station.observations.Empty()) {
    // The first station keyword of a file closes nothing.
    m_firstFlush = false;
    ReplaceStation();
    return;
  }
  SendStation();
  SendObservations();
  ReplaceStation();
}

void CParser::ReplaceStation() {
  if (m_current == m_station.record) {
    m_current.reset();
  }
  m_station.observations.Clear(m_spareRecords);
  // Only the observations' buffers serve the next station.
  m5::CPendingObservations buffers = std::move(m_station.observations);
  m_station = m5::CollectedStation{};
  m_station.observations = std::move(buffers);
}
