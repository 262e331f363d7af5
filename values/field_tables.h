// The two fixed tables of an M5 data block, one row per entry: what a type code means and
// which unit a unit text names; and the block taken apart.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "values/white_space.h"

namespace m5 {

enum class Quantity { None, Length, Angle, Temperature, Pressure };

// What a data block's value is, which decides where it goes.
enum class BlockValue {
  None,  // an information-record type: the block carries no value
  X,
  RelativeX,  // an offset from the station's X
  Y,
  RelativeY,  // an offset from the station's Y
  Z,
  SlopeDistance,
  HorizontalDistance,
  Hz,
  Vertical,
  HeightDifference,
  TargetHeight,
  InstrumentHeight,
  Temperature,
  Pressure,
  Orientation,
};

struct TypeCodeRow {
  // One or two characters; a shorter text is matched as if padded with blanks.
  std::wstring_view code;
  Quantity quantity;  // whose converter reads the value
  BlockValue value;
};

// clang-format off
inline constexpr TypeCodeRow kTypeCodeRows[] = {
    {L"PI", Quantity::None, BlockValue::None},
    {L"TI", Quantity::None, BlockValue::None},
    {L"TG", Quantity::None, BlockValue::None},
    {L"KR", Quantity::None, BlockValue::None},
    {L"KD", Quantity::None, BlockValue::None},
    {L"TR", Quantity::None, BlockValue::None},
    {L"X",  Quantity::Length, BlockValue::X},
    {L"x",  Quantity::Length, BlockValue::RelativeX},
    {L"N_", Quantity::Length, BlockValue::X},
    {L"n",  Quantity::Length, BlockValue::X},
    {L"Y",  Quantity::Length, BlockValue::Y},
    {L"y",  Quantity::Length, BlockValue::RelativeY},
    {L"E_", Quantity::Length, BlockValue::Y},
    {L"e",  Quantity::Length, BlockValue::Y},
    {L"Z",  Quantity::Length, BlockValue::Z},
    {L"SD", Quantity::Length, BlockValue::SlopeDistance},
    {L"D",  Quantity::Length, BlockValue::SlopeDistance},
    {L"HD", Quantity::Length, BlockValue::HorizontalDistance},
    {L"E",  Quantity::Length, BlockValue::HorizontalDistance},
    {L"Hz", Quantity::Angle, BlockValue::Hz},
    {L"HV", Quantity::Angle, BlockValue::Vertical},
    {L"V1", Quantity::Angle, BlockValue::Vertical},
    {L"V2", Quantity::Angle, BlockValue::Vertical},
    {L"V3", Quantity::Angle, BlockValue::Vertical},
    {L"th", Quantity::Length, BlockValue::TargetHeight},
    {L"ih", Quantity::Length, BlockValue::InstrumentHeight},
    {L"h",  Quantity::Length, BlockValue::HeightDifference},
    {L"dR", Quantity::Length, BlockValue::HeightDifference},
    {L"DL", Quantity::Length, BlockValue::HeightDifference},
    {L"T_", Quantity::Temperature, BlockValue::Temperature},
    {L"T",  Quantity::Temperature, BlockValue::Temperature},
    {L"C",  Quantity::Temperature, BlockValue::Temperature},
    {L"P",  Quantity::Pressure, BlockValue::Pressure},
    {L"Om", Quantity::Angle, BlockValue::Orientation},
};
// clang-format on
inline constexpr int kTypeCodeCount = static_cast<int>(std::size(kTypeCodeRows));

// What a unit row asks the host's converter factory for: the factory operation of the
// quantity (GetAngleConverter, GetLengthConverter, ...) with the host's unit code. A DMS
// row gets the plug-in's own wrapper around the host's converter.
struct UnitRow {
  // At most four characters. Files write units in either case ("deg", "DEG"), so a text is
  // matched without regard to the case of ASCII letters.
  std::wstring_view text;
  Quantity quantity;
  int unitCode;
  bool dms;
};

// clang-format off
inline constexpr UnitRow kUnitRows[] = {
    {L"gon",  Quantity::Angle, 4, false},
    {L"DEG",  Quantity::Angle, 3, false},
    {L"DMS",  Quantity::Angle, 1, true},
    {L"mil",  Quantity::Angle, 5, false},
    {L"grad", Quantity::Angle, 4, false},
    {L"m",    Quantity::Length, 0, false},
    {L"ft",   Quantity::Length, 1, false},
    {L"Torr", Quantity::Pressure, 0, false},
    {L"hPa",  Quantity::Pressure, 1, false},
    {L"inHg", Quantity::Pressure, 2, false},
    {L"C",    Quantity::Temperature, 0, false},
    {L"F",    Quantity::Temperature, 1, false},
    {L"grd",  Quantity::Angle, 4, false},
    {L"\u00B0C", Quantity::Temperature, 0, false},
    {L"mmHg", Quantity::Pressure, 0, false},
};
// clang-format on
inline constexpr int kUnitCount = static_cast<int>(std::size(kUnitRows));

inline constexpr std::size_t kTypeCodeWidth = 2;
inline constexpr std::size_t kUnitWidth = 4;

// An ASCII capital as its small letter; every other character as it is.
constexpr wchar_t FoldAsciiCase(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// True when both texts fit the width and are the same once padded to it with blanks, each
// character first passed through fold.
template <std::size_t kWidth, typename Fold>
constexpr bool SamePadded(std::wstring_view a, std::wstring_view b, Fold fold) {
  if (a.size() > kWidth || b.size() > kWidth) {
    return false;
  }
  for (std::size_t k = 0; k < kWidth; ++k) {
    if (fold(k < a.size() ? a[k] : L' ') != fold(k < b.size() ? b[k] : L' ')) {
      return false;
    }
  }
  return true;
}

// True when no two unit texts differ only in case, so that a unit text names at most one
// row.
template <std::size_t N>
constexpr bool UnitTextsDifferBeyondCase(const std::array<std::wstring_view, N>& texts) {
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = i + 1; j < N; ++j) {
      if (SamePadded<kUnitWidth>(texts[i], texts[j], FoldAsciiCase)) {
        return false;
      }
    }
  }
  return true;
}

constexpr std::array<std::wstring_view, kUnitCount> UnitTexts() {
  std::array<std::wstring_view, kUnitCount> texts{};
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = kUnitRows[i].text;
  }
  return texts;
}
static_assert(UnitTextsDifferBeyondCase(UnitTexts()),
              "two unit rows differ only in case: a unit text would name both");

// The row of a unit text exactly as the table writes it, or -1.
constexpr int UnitRowIndex(std::wstring_view text) {
  for (int i = 0; i < kUnitCount; ++i) {
    if (kUnitRows[i].text == text) {
      return i;
    }
  }
  return -1;
}

// The units a file starts with, before any block names one, as host unit codes.
inline constexpr int kInitialLengthUnit = 1;
inline constexpr int kInitialAngleUnit = 3;
inline constexpr int kInitialPressureUnit = 1;
inline constexpr int kInitialTemperatureUnit = 1;
static_assert(kUnitRows[UnitRowIndex(L"ft")].unitCode == kInitialLengthUnit);
static_assert(kUnitRows[UnitRowIndex(L"DEG")].unitCode == kInitialAngleUnit);
static_assert(kUnitRows[UnitRowIndex(L"hPa")].unitCode == kInitialPressureUnit);
static_assert(kUnitRows[UnitRowIndex(L"F")].unitCode == kInitialTemperatureUnit);

// A row's quantity is the one its value is read in: the same value is never read in two
// quantities, and a record type reads none.
constexpr Quantity QuantityOfValue(BlockValue value) {
  switch (value) {
    case BlockValue::None:
      return Quantity::None;
    case BlockValue::Hz:
    case BlockValue::Vertical:
    case BlockValue::Orientation:
      return Quantity::Angle;
    case BlockValue::Temperature:
      return Quantity::Temperature;
    case BlockValue::Pressure:
      return Quantity::Pressure;
    case BlockValue::X:
    case BlockValue::RelativeX:
    case BlockValue::Y:
    case BlockValue::RelativeY:
    case BlockValue::Z:
    case BlockValue::SlopeDistance:
    case BlockValue::HorizontalDistance:
    case BlockValue::HeightDifference:
    case BlockValue::TargetHeight:
    case BlockValue::InstrumentHeight:
      return Quantity::Length;
  }
  return Quantity::None;
}

// Every code fits the width without blanks or the line's separator, is there once, and is
// read in the quantity of its value.
constexpr bool TypeCodeRowsAreSound() {
  for (int i = 0; i < kTypeCodeCount; ++i) {
    const TypeCodeRow& row = kTypeCodeRows[i];
    if (row.code.empty() || row.code.size() > kTypeCodeWidth ||
        row.code.find_first_of(L" |") != std::wstring_view::npos ||
        row.quantity != QuantityOfValue(row.value)) {
      return false;
    }
    for (int j = i + 1; j < kTypeCodeCount; ++j) {
      if (row.code == kTypeCodeRows[j].code) {
        return false;
      }
    }
  }
  return true;
}
static_assert(TypeCodeRowsAreSound(), "a type-code row is malformed, repeated or misread");

// The quantity whose converter reads a value of this type index; None for a record type or
// an index outside the table.
Quantity QuantityOfType(int typeIndex);

// One data block taken apart, as views into the block: "SD        12.345 m   " gives "SD",
// "12.345", "m". Nothing is copied, so the parts are read before the block changes.
struct DataBlockFields {
  std::wstring_view typeCode;
  std::wstring_view value;
  std::wstring_view unit;
};

// Splits a data block at white space (a run of it between the fields), with white space the
// caller has taken from the locale once for a whole file; no-break blanks count as white
// space too.
DataBlockFields SplitDataBlockFields(std::wstring_view block, const CWhiteSpace& isSpace);

// The row index of a type code or a unit text, each matched as if padded with blanks to the
// width of its table. Holds tables built once per file: a code and a unit are looked up at
// every data block.
class CFieldTables {
 public:
  CFieldTables();

  // The type code's row 0 to kTypeCodeCount - 1, or -1.
  int TypeCodeIndex(std::wstring_view code) const;
  // The unit's row 0 to kUnitCount - 1, whatever the case of its ASCII letters, or -1.
  int UnitIndex(std::wstring_view unit) const;

 private:
  // Type index by the two characters of a padded code below 128, -1 for no row.
  std::array<std::int8_t, 128 * 128> m_asciiTypeCodes;
  // Each unit row's four characters, padded, case folded and packed 7 bits apiece, or 0 for
  // a row that is not ASCII: a unit is looked up at every data block, most often an empty one.
  std::array<std::uint32_t, kUnitCount> m_asciiUnits;
};

}  // namespace m5
