// The data blocks of a line: each value read in its unit into the line's point record or the
// survey's values; "ih" and "Om" on a point line go to the station's choice
// (station_state.cpp).
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
      if (blocks == DataBlocks::InputValues) {
        // Entered by the surveyor: a height, and no station.
        if (ReadValue(row.quantity, m_blockValue, value)) {
          StoreInstrumentHeight(value);
        }
      } else {
        InstrumentHeightOnPoint(m_blockValue);
      }
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
      OrientationOnPoint(m_blockValue);
      return;
    default:
      return;  // the point's own values are read above
  }
}
