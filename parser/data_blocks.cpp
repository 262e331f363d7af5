// The data blocks of a line: each value read in its unit into the line's point record or the
// survey's values; "ih" and "Om" on a point line go to the station's choice
// (station_state.cpp).
#include "parser/parser.h"

#include <algorithm>
#include <cmath>

#include "platform/string_table.h"
#include "resources/string_ids.h"

namespace {

using m5::PointRecord;

using m5::BlockValue;
using RecordField = m5::Measured PointRecord::*;

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

m5::BlockFate CParser::UnitFate(int unit, std::wstring_view unitText, const m5::TypeCodeRow& row) {
  if (unit == kNoUnit) {
    return m5::BlockFate::Delivered;
  }
  if (unit < 0) {
    return ReportUnknownUnit(unitText) ? m5::BlockFate::Named : m5::BlockFate::UnitUnfit;
  }
  if (m5::kUnitRows[unit].quantity != row.quantity) {
    // "Hz 10 m" would go through the angle converter as 10 of the last angle unit.
    return ReportUnitOfAnotherQuantity(unitText, row) ? m5::BlockFate::Named
                                                      : m5::BlockFate::UnitUnfit;
  }
  return m5::BlockFate::Delivered;
}

bool CParser::ReportUnitOfAnotherQuantity(std::wstring_view unit, const m5::TypeCodeRow& row) {
  std::wstring key(row.code);
  key += L'|';
  key += unit;
  if (!m_reportedMismatches.insert(std::move(key)).second) {
    return false;
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
  return true;
}

bool CParser::ReportUnknownUnit(std::wstring_view unit) {
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
  if (!m_reportedUnits.insert(shown).second) {
    return false;
  }
  ReportWarning(m5::msg::kUnknownUnit, shown);
  return true;
}

bool CParser::ReadValue(m5::Quantity quantity, const std::wstring& text, double& value) {
  // Another quantity's unit would read the value in a unit the file did not mean; a host
  // whose converter gives no finite number has read none.
  return !m_unitUnreadable && m_converters.Parse(quantity, text, value) && std::isfinite(value);
}

bool CParser::EndsInUnit(std::wstring_view value) const {
  // "10.5m": the unit written against its value.
  for (std::size_t length = 1; length <= m5::kUnitWidth && length < value.size(); ++length) {
    const wchar_t before = value[value.size() - length - 1];
    if (before >= L'0' && before <= L'9' &&
        m_fieldTables.UnitIndex(value.substr(value.size() - length)) >= 0) {
      return true;
    }
  }
  return false;
}

bool CParser::HoldsValue(const m5::DataBlockFields& fields) {
  // A type code is two characters at most: a longer one has its value written against it.
  return !fields.value.empty() || fields.typeCode.size() > m5::kTypeCodeWidth;
}

m5::BlockFate CParser::FateOfBlockNotRead(std::wstring_view block, bool countedBySection) {
  const m5::DataBlockFields fields = m5::SplitDataBlockFields(block, m_isSpace);
  if (!HoldsValue(fields)) {
    return m5::BlockFate::NoValue;
  }
  if (countedBySection && !fields.value.empty()) {
    // The point's own values, a station's choice, or a value of no known type: the
    // section's message counts the point.
    const int type = m_fieldTables.TypeCodeIndex(fields.typeCode);
    const BlockValue value = type < 0 ? BlockValue::X : m5::kTypeCodeRows[type].value;
    if (PointField(value) != nullptr || value == BlockValue::Orientation ||
        value == BlockValue::InstrumentHeight) {
      return m5::BlockFate::Named;
    }
  }
  return m5::BlockFate::NotReadHere;
}

void CParser::ReadDataBlocks(DataBlocks blocks) {
  const bool read = blocks == DataBlocks::Values || blocks == DataBlocks::InputValues;
  if (read && !m_skipSection) {
    for (int i = 0; i < 3; ++i) {
      const std::wstring_view block = NextField();
      m_ledger.Record(block, ParseDataBlock(block, blocks));
    }
    if (CommitPoint() == LineRecord::Released) {
      m_current.reset();
    }
    return;
  }
  if (blocks == DataBlocks::NotReadRecordNamed) {
    return;  // the message about the point names its blocks too
  }
  // A point line in a skipped section has its own record as the current one; the
  // section's message counts it when its blocks hold values.
  const bool skippedPoint = read && m_skipSection && m_current && m_current->line == m_lineIndex;
  bool counted = false;
  for (int i = 0; i < 3; ++i) {
    const std::wstring_view block = NextField();
    const m5::BlockFate fate = FateOfBlockNotRead(block, skippedPoint);
    counted = counted || (skippedPoint && fate == m5::BlockFate::Named);
    m_ledger.Record(block, fate);
  }
  if (counted) {
    ++m_sectionPoints;
  }
}

m5::BlockFate CParser::ParseDataBlock(std::wstring_view block, DataBlocks blocks) {
  if (block.empty()) {
    return m5::BlockFate::NoValue;
  }
  const m5::DataBlockFields fields = m5::SplitDataBlockFields(block, m_isSpace);
  const int type = m_fieldTables.TypeCodeIndex(fields.typeCode);
  // The unit names the converter for this block's value and the later ones.
  const int unit = SelectUnit(fields.unit);
  if (fields.value.empty()) {
    return HoldsValue(fields) ? m5::BlockFate::TypeUnknown : m5::BlockFate::NoValue;
  }
  if (type < 0 || m5::kTypeCodeRows[type].value == BlockValue::None) {
    if (m_current) {
      m_current->typeUnknown = true;
    }
    return m5::BlockFate::TypeUnknown;
  }
  const m5::TypeCodeRow& row = m5::kTypeCodeRows[type];
  const m5::BlockFate unitFate = UnitFate(unit, fields.unit, row);
  m_unitUnreadable = unitFate != m5::BlockFate::Delivered;
  // The host's converter reads a terminated text.
  m_blockValue.assign(fields.value);

  const m5::BlockFate fate = ReadBlockValue(row, blocks);
  if (fate != m5::BlockFate::ValueUnreadable && fate != m5::BlockFate::SurveyValueUnreadable) {
    return fate;
  }
  if (m_unitUnreadable) {
    return unitFate;
  }
  return EndsInUnit(fields.value) ? m5::BlockFate::TypeUnknown : fate;
}

m5::BlockFate CParser::ReadBlockValue(const m5::TypeCodeRow& row, DataBlocks blocks) {
  if (const RecordField field = PointField(row.value)) {
    if (!m_current) {
      return m5::BlockFate::NotReadHere;
    }
    double value = 0.0;
    if (!ReadValue(row.quantity, m_blockValue, value)) {
      m_current->valueUnread = true;
      return m5::BlockFate::ValueUnreadable;
    }
    const PointRecord* station = m_station.record.get();
    if (row.value == BlockValue::RelativeX && station && m5::IsSet(station->x)) {
      value += *station->x;
    } else if (row.value == BlockValue::RelativeY && station && m5::IsSet(station->y)) {
      value += *station->y;
    }
    (*m_current).*field = value;
    return m5::BlockFate::Delivered;
  }

  double value = 0.0;
  const auto survey = [&](m5::Measured& destination) {
    if (!ReadValue(row.quantity, m_blockValue, value)) {
      return m5::BlockFate::SurveyValueUnreadable;
    }
    destination = value;
    return m5::BlockFate::Delivered;
  };
  switch (row.value) {
    case BlockValue::TargetHeight:
      // Only the surveyor's entered values set the target height.
      return blocks == DataBlocks::InputValues ? survey(m_survey.targetHeight)
                                               : m5::BlockFate::NotReadHere;
    case BlockValue::InstrumentHeight:
      if (blocks == DataBlocks::InputValues) {
        // Entered by the surveyor: a height, and no station.
        if (!ReadValue(row.quantity, m_blockValue, value)) {
          return m5::BlockFate::SurveyValueUnreadable;
        }
        StoreInstrumentHeight(value);
        return m5::BlockFate::Delivered;
      }
      return InstrumentHeightOnPoint(m_blockValue);
    case BlockValue::Temperature:
      return survey(m_survey.temperature);
    case BlockValue::Pressure:
      return survey(m_survey.pressure);
    case BlockValue::Orientation:
      return OrientationOnPoint(m_blockValue);
    default:
      return m5::BlockFate::NoValue;  // the point's own values are read above
  }
}
