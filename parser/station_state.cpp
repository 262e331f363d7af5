// Information blocks and the station state: which point is the station, which records are
// its observations, and when they go to the host.
#include "parser/parser.h"

#include <algorithm>
#include <array>
#include <utility>

#include "parser/text.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"
#include "text/m5_line.h"

namespace {

// The text records that open a station set-up; matched whole.
constexpr std::array<const wchar_t*, 6> kStationKeywords = {
    L"STAT. KNWN. PNT.", L"STAT. KNOWN POINT/", L"FREE STATIONING",
    L"FREE STATIONING/", L"HEIGHTSTATIONING",   L"Eccentric Station",
};
constexpr const wchar_t* kHeightStationing = L"HEIGHTSTATIONING";

constexpr const wchar_t* kDefaultStationWarning =
    L"Не определена точка стояния.\nПо умолчанию создается станция с именем %1%.";
constexpr const wchar_t* kDefaultStationName = L"Default";

bool IsStationKeyword(std::wstring_view text) {
  for (const wchar_t* keyword : kStationKeywords) {
    if (text == keyword) {
      return true;
    }
  }
  return false;
}

bool Contains(std::wstring_view text, const wchar_t* word) {
  return text.find(word) != std::wstring_view::npos;
}

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

// "12:34": the time the instrument software writes at the end of a measured point.
bool IsRecordTime(std::wstring_view text) {
  return text.size() == 5 && IsDigit(text[0]) && IsDigit(text[1]) && text[2] == L':' &&
         IsDigit(text[3]) && IsDigit(text[4]);
}

}  // namespace

CParser::DataBlocks CParser::ParseInfoBlock(std::wstring_view block) {
  if (block.empty()) {
    return DataBlocks::NotRead;
  }
  const std::wstring_view type = m5::text::RecordType(block);
  if (m5::text::IsPointRecord(type)) {
    return ParsePointRecord(m5::text::RecordText(block));
  }
  if (m5::text::IsTextRecord(type)) {
    return ParseTextRecord(m5::text::RecordText(block));
  }
  return DataBlocks::NotRead;
}

CParser::DataBlocks CParser::ParsePointRecord(std::wstring_view text) {
  if (m5::IsMeasuring(m_phase) && !m_timeWarningShown) {
    CheckRecordTime(text);
  }
  const std::wstring_view name =
      m5::CutTrimmedView(text, m_layout.nameStart, m_layout.nameLength, m_isSpace);
  if (name.empty()) {
    ReportError(m5::msg::kNoPointName);
    return DataBlocks::NotRead;
  }
  RecordPtr record = NewRecord();
  record->name.assign(name);
  record->code.assign(m5::CutTrimmedView(text, m_layout.codeStart, m_layout.codeLength, m_isSpace));
  record->line = m_lineIndex;
  ReportCurrentRecordLost();
  m_current = std::move(record);
  return DataBlocks::Values;
}

m5::PointRecordPtr CParser::NewRecord() {
  if (m_spareRecords.empty()) {
    return std::make_shared<PointRecord>();
  }
  RecordPtr record = std::move(m_spareRecords.back());
  m_spareRecords.pop_back();
  // A fresh record, but the texts keep their buffers.
  std::wstring name = std::move(record->name);
  std::wstring code = std::move(record->code);
  *record = PointRecord{};
  name.clear();
  code.clear();
  record->name = std::move(name);
  record->code = std::move(code);
  return record;
}

void CParser::CheckRecordTime(std::wstring_view text) {
  // Later instrument software ends every measured point with the time of measurement.
  const std::wstring_view tail =
      m5::TrimmedView(text.substr(text.size() > 5 ? text.size() - 5 : 0), m_isSpace);
  if (IsRecordTime(tail)) {
    return;
  }
  ReportWarning(m5::msg::kMaybeOldSoftware);
  m_timeWarningShown = true;
}

CParser::DataBlocks CParser::ParseTextRecord(std::wstring_view text) {
  text = m5::TrimmedView(text, m_isSpace);

  // A section's own markers are independent of what else the record says. Any text that
  // contains the word opens one (stored files rely on it), so what it skipped is named.
  if (!m_skipSection) {
    if (Contains(text, L"START")) {
      m_skipSection = true;
      m_sectionLine = m_lineIndex;
      m_sectionPoints = 0;
    }
  } else if (Contains(text, L"END")) {
    m_skipSection = false;
    ReportSkippedSection(m_lineIndex);
  }

  if (IsStationKeyword(text)) {
    OpenStation(text);
    return DataBlocks::NotRead;
  }

  if (Contains(text, L"COORDINATES") || Contains(text, L"MEASURE")) {
    if (!m_station.record) {
      ReportError(m5::msg::kNoStationDeclared);
      return DataBlocks::NotRead;
    }
    StartMeasuring();
    return DataBlocks::Values;
  }

  if (Contains(text, L"NORMAL REFLECTOR") || Contains(text, L"REFLECT FOIL")) {
    m_survey.reflector = true;
  } else if (Contains(text, L"NO REFLECTOR")) {
    m_survey.reflector = false;
  } else if (Contains(text, L"INPUT VALUES")) {
    return DataBlocks::InputValues;
  }
  return DataBlocks::Values;
}

CParser::LineRecord CParser::CommitPoint(RecordPtr current) {
  if (!current || current->name.empty()) {
    return LineRecord::Dropped;
  }
  if (current == m_station.record) {
    return LineRecord::Kept;
  }
  if (!current->HasValues()) {
    if (current->valueUnread) {
      ReportRecordNotImported(m5::msg::kPointValuesUnreadable, *current);
    } else if (current->typeUnknown) {
      ReportRecordNotImported(m5::msg::kPointTypesUnknown, *current);
    }
    return LineRecord::Dropped;
  }

  if (m_phase == m5::StationPhase::HeightStationing && m_station.record) {
    if (m5::IsSet(current->hz)) {
      // The first direction ends the height stationing; that observation is not kept.
      CloseHeightStationing();
      ReportRecordNotImported(m5::msg::kPointHeightStationing, *current);
      m_current.reset();
      return LineRecord::Kept;
    }
    if (current->name == m_station.record->name && current->HasPosition() &&
        m5::IsSet(current->z)) {
      m_station.record->x = current->x;
      m_station.record->y = current->y;
      m_station.record->z = current->z;
      return LineRecord::Dropped;
    }
    return LineRecord::Kept;
  }

  if (m_station.record && m_station.record->name == current->name) {
    m_sink->ReportError(
        m5::FormatMessage(m5::platform::LoadResourceString(m5::msg::kTargetNamedAsStation),
                          current->name)
            .c_str());
    m_current.reset();
    return LineRecord::Dropped;
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
  m_station.observations.Add(std::move(current));
  m_current.reset();
  return LineRecord::Kept;
}

void CParser::OpenStation(std::wstring_view keyword) {
  m_stationKeywordSeen = true;
  if (m5::IsSetUp(m_phase) && keyword == kHeightStationing) {
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

void CParser::StartMeasuring() {
  if (m_layout.hz == m5::HzRecording::OrientedDirection) {
    ApplyOrientation();
  }
  m_survey.orientation = 0.0;
  m_phase = m5::IsHeightStationOpen(m_phase) ? m5::StationPhase::MeasuringFromHeightStation
                                             : m5::StationPhase::Measuring;
}

void CParser::CloseHeightStationing() {
  FlushStation();
  m_phase = m5::StationPhase::SetUp;
}

void CParser::ApplyOrientation() {
  if (!m_station.observations.Empty() && m_survey.orientation != 0.0) {
    m_station.observations.Turn(m_survey.orientation);
  }
}

void CParser::FlushStation() {
  if (m_firstFlush && !m_station.record && m_station.observations.Empty()) {
    // The first station keyword of a file closes nothing.
    m_firstFlush = false;
    ReplaceStation();
    return;
  }

  SendStation();
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
  ReplaceStation();
}

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

void CParser::AnnounceStation(const wchar_t* name) {
  m_sink->AddStation(name);
  if (m5::IsSet(m_survey.pressure)) {
    m_sink->SetPressure(m_survey.pressure);
  }
  if (m5::IsSet(m_survey.temperature)) {
    m_sink->SetTemperature(m_survey.temperature);
  }
}

void CParser::SendInstrumentHeight() {
  if (m5::IsSet(m_survey.instrumentHeight)) {
    m_sink->SetInstrumentHeight(m_survey.instrumentHeight);
  }
}

std::wstring CParser::MakeDefaultStationName() {
  const std::int32_t count = m_defaultStationCount++;
  if (count == 0) {
    return kDefaultStationName;
  }
  return std::wstring(kDefaultStationName) + L"_" + std::to_wstring(count);
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
