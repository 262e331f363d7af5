// What the host gets when a station is flushed: the station (or a default one) with the
// survey's air values and instrument height, then its observations, each record named and
// followed by its values.
#include "parser/parser.h"

#include <string>

#include "parser/text.h"
#include "resources/string_ids.h"

namespace {

using m5::PointRecord;

constexpr const wchar_t* kDefaultStationWarning =
    L"Не определена точка стояния.\nПо умолчанию создается станция с именем %1%.";
constexpr const wchar_t* kDefaultStationName = L"Default";

// A one-digit code is a set of flags, not a code: 1 marks a point kind 0, 2 a point flag 0.
bool IsDigitCode(const std::wstring& code) {
  return code.size() == 1 && code[0] >= L'0' && code[0] <= L'9';
}
int DigitFlags(const std::wstring& code) {
  return code[0] - L'0';
}

}  // namespace

void CParser::SendStation() {
  PointRecord* station = m_station.record.get();
  if (!station || station->name.empty()) {
    const std::wstring name = MakeDefaultStationName();
    m_sink->ReportWarning(m5::FormatMessage(kDefaultStationWarning, name).c_str());
    AnnounceStation(name.c_str());
    SendInstrumentHeight();
    return;
  }

  if (m_phase == m5::StationPhase::None) {
    m_sink->AddPoint(station->name.c_str());
  } else {
    AnnounceStation(station->name.c_str());
    SetPointKindOnce(*station, 1);
    station->kind = boost::blank();
  }
  SendInstrumentHeight();
  EmitPoint(m_station.record);
}

void CParser::SendObservations() {
  m_station.observations.ForEach([this](const RecordPtr& record) {
    if (record->name.empty()) {
      return;
    }
    if (record->HasPosition()) {
      m_sink->AddPoint(record->name.c_str());
    } else if (m5::IsSet(record->x) || m5::IsSet(record->y) || m5::IsSet(record->z) ||
               m5::IsSet(record->hz)) {
      m_sink->AddTarget(record->name.c_str());
    } else {
      // Distances, a vertical angle or a height difference alone place nothing.
      ReportRecordNotImported(m5::msg::kPointNotPlaced, *record);
      return;
    }
    EmitPoint(record);
  });
}

void CParser::AnnounceStation(const wchar_t* name) {
  m_sink->AddStation(name);
  if (m5::IsSet(m_survey.pressure)) {
    m_sink->SetPressure(*m_survey.pressure);
  }
  if (m5::IsSet(m_survey.temperature)) {
    m_sink->SetTemperature(*m_survey.temperature);
  }
}

void CParser::SendInstrumentHeight() {
  if (m5::IsSet(m_survey.instrumentHeight)) {
    m_sink->SetInstrumentHeight(*m_survey.instrumentHeight);
  }
}

std::wstring CParser::MakeDefaultStationName() {
  const std::int32_t count = m_defaultStationCount++;
  if (count == 0) {
    return kDefaultStationName;
  }
  return std::wstring(kDefaultStationName) + L"_" + std::to_wstring(count);
}

void CParser::EmitPoint(const RecordPtr& record) {
  if (!record || record->name.empty()) {
    return;
  }
  const PointRecord& point = *record;

  if (IsDigitCode(point.code)) {
    const int flags = DigitFlags(point.code);
    if (flags & 1) {
      m_sink->SetPointKind(0);
      m_kindZeroNames.insert(point.name);
    }
    if (flags & 2) {
      m_sink->SetPointFlag(0);
    }
  } else if (!point.code.empty()) {
    m_sink->SetCode(point.code.c_str());
  }

  if (m_phase == m5::StationPhase::None) {
    // Outside any station set-up the host gets plain points.
    SetPointKindOnce(point, 0);
  } else if (const int* kind = boost::get<int>(&point.kind)) {
    SetPointKindOnce(point, *kind);
  }

  if (m5::IsSet(point.x)) {
    m_sink->SetX(*point.x);
  }
  if (m5::IsSet(point.y)) {
    m_sink->SetY(*point.y);
  }
  if (m5::IsSet(point.z)) {
    m_sink->SetZ(*point.z);
  }
  if (m5::IsSet(point.slopeDistance)) {
    m_sink->SetSlopeDistance(*point.slopeDistance);
  }
  if (m5::IsSet(point.hz)) {
    m_sink->SetHorizontalDirection(*point.hz);
  }
  if (m5::IsSet(point.vertical)) {
    m_sink->SetVerticalAngle(*point.vertical);
  }
  if (m5::IsSet(point.horizontalDistance)) {
    m_sink->SetHorizontalDistance(*point.horizontalDistance);
  }
  if (m5::IsSet(point.targetHeight)) {
    m_sink->SetTargetHeight(*point.targetHeight);
  }
  if (m5::IsSet(point.heightDiff)) {
    // A levelled height difference is to the instrument's height over the station.
    if (m5::IsSet(point.horizontalDistance) && m_station.record &&
        m5::IsSet(m_survey.instrumentHeight)) {
      m_sink->SetTargetHeight(*m_survey.instrumentHeight);
    }
    m_sink->SetHeightDifference(*point.heightDiff);
  }
}

void CParser::SetPointKindOnce(const PointRecord& record, int kind) {
  if (kind == 0) {
    m_sink->SetPointKind(0);
    m_kindZeroNames.insert(record.name);
    return;
  }
  // A name the host already has as a plain point stays plain.
  if (m_kindZeroNames.count(record.name) == 0) {
    m_sink->SetPointKind(kind);
  }
}
