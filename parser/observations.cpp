// Data blocks into the line's point record or the station's values, and the values sent
// for one record once its station is flushed.
#include "parser/parser.h"

#include <algorithm>

#include "platform/string_table.h"
#include "resources/string_ids.h"

namespace {

using m5::PointRecord;

using m5::BlockValue;
using RecordField = double PointRecord::*;

// Where a value goes in the line's point record; null for the values that belong to the
// station or the whole survey.
constexpr RecordField PointField(BlockValue value) {
  switch (value) {
    case BlockValue::X:
    case BlockValue::RelativeX:
      return &PointRecord::x;
    case BlockValue::Y:
    case BlockValue::RelativeY:
      return &PointRecord::y;
    case BlockValue::Z:
      return &PointRecord::z;
    case BlockValue::SlopeDistance:
      return &PointRecord::slopeDistance;
    case BlockValue::HorizontalDistance:
      return &PointRecord::horizontalDistance;
    case BlockValue::Hz:
      return &PointRecord::hz;
    case BlockValue::Vertical:
      return &PointRecord::vertical;
    case BlockValue::HeightDifference:
      return &PointRecord::heightDiff;
    case BlockValue::None:
    case BlockValue::TargetHeight:
    case BlockValue::InstrumentHeight:
    case BlockValue::Temperature:
    case BlockValue::Pressure:
    case BlockValue::Orientation:
      return nullptr;
  }
  return nullptr;
}

// A one-digit code is a set of flags, not a code: 1 marks a point kind 0, 2 a point flag 0.
bool IsDigitCode(const std::wstring& code) {
  return code.size() == 1 && code[0] >= L'0' && code[0] <= L'9';
}
int DigitFlags(const std::wstring& code) {
  return code[0] - L'0';
}

}  // namespace

int CParser::SelectUnit(std::wstring_view unit) {
  if (unit.empty()) {
    return kNoUnit;  // the value is in the unit named last
  }
  const int index = m_fieldTables.UnitIndex(unit);
  if (index >= 0) {
    // A unit selects its own quantity's converter whatever the block's type: the later
    // blocks of that quantity are read in it.
    m_converters.SelectUnit(index);
  }
  return index;
}

bool CParser::UnitReadsBlock(int unit, std::wstring_view unitText, const m5::TypeCodeRow& row) {
  if (unit == kNoUnit) {
    return true;
  }
  if (unit < 0) {
    ReportUnknownUnit(unitText);
    return false;
  }
  if (m5::kUnitRows[unit].quantity != row.quantity) {
    // "Hz 10 m" would go through the angle converter as 10 of the last angle unit.
    ReportUnitOfAnotherQuantity(unitText, row);
    return false;
  }
  return true;
}

void CParser::ReportUnitOfAnotherQuantity(std::wstring_view unit, const m5::TypeCodeRow& row) {
  std::wstring key(row.code);
  key += L'|';
  key += unit;
  if (!m_reportedMismatches.insert(std::move(key)).second) {
    return;
  }
  unsigned int needs = m5::msg::kNeedsLengthUnit;
  switch (row.quantity) {
    case m5::Quantity::Angle:
      needs = m5::msg::kNeedsAngleUnit;
      break;
    case m5::Quantity::Temperature:
      needs = m5::msg::kNeedsTemperatureUnit;
      break;
    case m5::Quantity::Pressure:
      needs = m5::msg::kNeedsPressureUnit;
      break;
    case m5::Quantity::Length:
    case m5::Quantity::None:
      break;
  }
  ReportWarning(m5::msg::kUnitOfAnotherQuantity,
                {unit, row.code, m5::platform::LoadResourceString(needs)});
}

void CParser::ReportUnknownUnit(std::wstring_view unit) {
  // A unit is a few characters; a longer text is named by its start, which is also what
  // tells one unknown unit from another.
  constexpr std::size_t kShownLength = 16;
  std::size_t kept = std::min(unit.size(), kShownLength);
  if (kept < unit.size() && kept > 0 && unit[kept - 1] >= 0xD800 && unit[kept - 1] <= 0xDBFF) {
    --kept;  // never half a character
  }
  std::wstring shown(unit.substr(0, kept));
  if (kept < unit.size()) {
    shown += L'\u2026';
  }
  if (m_reportedUnits.insert(shown).second) {
    ReportWarning(m5::msg::kUnknownUnit, shown);
  }
}

bool CParser::ReadValue(m5::Quantity quantity, const std::wstring& text, double& value) {
  // Another quantity's unit would read the value in a unit the file did not mean.
  return !m_unitUnreadable && m_converters.Parse(quantity, text, value);
}

void CParser::CountSkippedPoint() {
  // Only a point line has a record of its own line as the current one.
  if (!m_current || m_current->line != m_lineIndex) {
    return;
  }
  for (int i = 0; i < 3; ++i) {
    const m5::DataBlockFields fields = m5::SplitDataBlockFields(NextField(), m_isSpace);
    if (fields.value.empty()) {
      continue;
    }
    // The point's own values, a station's choice, or a value of no known type (which is
    // named when read).
    const int type = m_fieldTables.TypeCodeIndex(fields.typeCode);
    const BlockValue value = type < 0 ? BlockValue::X : m5::kTypeCodeRows[type].value;
    if (PointField(value) != nullptr || value == BlockValue::Orientation ||
        value == BlockValue::InstrumentHeight) {
      ++m_sectionPoints;
      return;
    }
  }
}

void CParser::ParseDataBlock(std::wstring_view block, DataBlocks blocks) {
  if (block.empty()) {
    return;
  }
  const m5::DataBlockFields fields = m5::SplitDataBlockFields(block, m_isSpace);
  const int type = m_fieldTables.TypeCodeIndex(fields.typeCode);
  // The unit names the converter for this block's value and the later ones.
  const int unit = SelectUnit(fields.unit);
  if (fields.value.empty()) {
    return;
  }
  if (type < 0) {
    if (m_current) {
      m_current->typeUnknown = true;
    }
    return;
  }
  const m5::TypeCodeRow& row = m5::kTypeCodeRows[type];
  if (row.value == BlockValue::None) {
    return;
  }
  m_unitUnreadable = !UnitReadsBlock(unit, fields.unit, row);
  // The host's converter reads a terminated text.
  m_blockValue.assign(fields.value);

  if (const RecordField field = PointField(row.value)) {
    if (!m_current) {
      return;
    }
    double value = 0.0;
    if (!ReadValue(row.quantity, m_blockValue, value)) {
      m_current->valueUnread = true;
      return;
    }
    const PointRecord* station = m_station.record.get();
    if (row.value == BlockValue::RelativeX && station && m5::IsSet(station->x)) {
      value += station->x;
    } else if (row.value == BlockValue::RelativeY && station && m5::IsSet(station->y)) {
      value += station->y;
    }
    (*m_current).*field = value;
    return;
  }

  double value = 0.0;
  switch (row.value) {
    case BlockValue::TargetHeight:
      if (blocks == DataBlocks::InputValues && ReadValue(row.quantity, m_blockValue, value)) {
        m_survey.targetHeight = value;
      }
      return;
    case BlockValue::InstrumentHeight:
      ReadInstrumentHeight(m_blockValue, blocks);
      return;
    case BlockValue::Temperature:
      if (ReadValue(row.quantity, m_blockValue, value)) {
        m_survey.temperature = value;
      }
      return;
    case BlockValue::Pressure:
      if (ReadValue(row.quantity, m_blockValue, value)) {
        m_survey.pressure = value;
      }
      return;
    case BlockValue::Orientation:
      ReadOrientation(m_blockValue);
      return;
    default:
      return;  // the point's own values are read above
  }
}

void CParser::ReadInstrumentHeight(const std::wstring& text, DataBlocks blocks) {
  double height = 0.0;
  if (blocks == DataBlocks::InputValues) {
    if (ReadValue(m5::Quantity::Length, text, height)) {
      StoreInstrumentHeight(height);
    }
    return;
  }
  if (!m_current) {
    return;
  }
  // On a point line the instrument height names the station, once.
  if (m_station.record) {
    // The station's own height again changes nothing; any other is not used, and the user
    // is told so on its line.
    if (m_station.record->name != m_current->name ||
        !ReadValue(m5::Quantity::Length, text, height) || height != m_survey.instrumentHeight) {
      ReportWarning(m5::msg::kInstrumentHeightNotUsed, m_current->name);
    }
    return;
  }
  m_station.record = FindPendingWithCoordinates(*m_current);
  if (!m_station.record) {
    m_station.record = m_current;
  }
  if (ReadValue(m5::Quantity::Length, text, height)) {
    StoreInstrumentHeight(height);
  }
}

void CParser::StoreInstrumentHeight(double height) {
  if (height != m_survey.instrumentHeight && m5::IsSet(m_station.instrumentHeight) &&
      height != m_station.instrumentHeight) {
    ReportError(m5::msg::kInstrumentHeightChanged);
  }
  m_survey.instrumentHeight = height;
  m_station.instrumentHeight = height;
}

void CParser::ReadOrientation(const std::wstring& text) {
  if (!m_current) {
    return;
  }
  if (m_station.record && m5::IsHeightStationOpen(m_phase)) {
    if (m_station.record->name == m_current->name) {
      return;  // the height station orienting itself changes nothing
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

  double orientation = 0.0;
  m_survey.orientation = ReadValue(m5::Quantity::Angle, text, orientation) ? orientation : 0.0;
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
    m_sink->SetX(point.x);
  }
  if (m5::IsSet(point.y)) {
    m_sink->SetY(point.y);
  }
  if (m5::IsSet(point.z)) {
    m_sink->SetZ(point.z);
  }
  if (m5::IsSet(point.slopeDistance)) {
    m_sink->SetSlopeDistance(point.slopeDistance);
  }
  if (m5::IsSet(point.hz)) {
    m_sink->SetHorizontalDirection(point.hz);
  }
  if (m5::IsSet(point.vertical)) {
    m_sink->SetVerticalAngle(point.vertical);
  }
  if (m5::IsSet(point.horizontalDistance)) {
    m_sink->SetHorizontalDistance(point.horizontalDistance);
  }
  if (m5::IsSet(point.targetHeight)) {
    m_sink->SetTargetHeight(point.targetHeight);
  }
  if (m5::IsSet(point.heightDiff)) {
    // A levelled height difference is to the instrument's height over the station.
    if (m5::IsSet(point.horizontalDistance) && m_station.record &&
        m5::IsSet(m_survey.instrumentHeight)) {
      m_sink->SetTargetHeight(m_survey.instrumentHeight);
    }
    m_sink->SetHeightDifference(point.heightDiff);
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

m5::PointRecordPtr CParser::FindPendingWithCoordinates(const PointRecord& record) {
  return m_station.observations.TakeLatestWithPosition(record.name);
}
