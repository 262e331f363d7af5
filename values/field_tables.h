// The two fixed tables of an M5 data block: what a type code means and which unit a unit
// text names.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include <boost/format.hpp>

#include "values/white_space.h"

namespace m5 {

inline constexpr int kTypeCodeCount = 34;
inline constexpr int kUnitCount = 15;

// 34 two-character type codes, each followed by "|"; entry i starts at character 3i.
inline constexpr wchar_t kTypeCodeTable[] =
    L"PI|TI|TG|KR|KD|TR|X |x |N_|n |Y |y |E_|e |Z |SD|D |HD|E |Hz|HV|V1|V2|V3|th|ih|h |dR|DL|T_|"
    L"T |C |P |Om|";
static_assert(sizeof(kTypeCodeTable) / sizeof(wchar_t) == 3 * kTypeCodeCount + 1);

// 15 four-character unit texts separated by "|"; entry i starts at character 5i. The
// fourteenth begins with the degree sign. Files write units in either case ("deg", "DEG"),
// so an entry is matched without regard to the case of ASCII letters.
inline constexpr wchar_t kUnitTable[] =
    L"gon |DEG |DMS |mil |grad|m   |ft  |Torr|hPa |inHg|C   |F   |grd |\u00B0C  |mmHg";
static_assert(sizeof(kUnitTable) / sizeof(wchar_t) == 5 * kUnitCount);

// An ASCII capital as its small letter; every other character as it is.
constexpr wchar_t FoldAsciiCase(wchar_t c) {
  return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

// True when no two of the count four-character entries of table (separated as in
// kUnitTable) differ only in case, so that a unit text names at most one entry.
constexpr bool UnitEntriesDifferBeyondCase(const wchar_t* table, int count) {
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      bool same = true;
      for (int k = 0; k < 4; ++k) {
        same = same && FoldAsciiCase(table[5 * i + k]) == FoldAsciiCase(table[5 * j + k]);
      }
      if (same) {
        return false;
      }
    }
  }
  return true;
}
static_assert(UnitEntriesDifferBeyondCase(kUnitTable, kUnitCount),
              "two unit entries differ only in case: a unit text would name both");

// Type indices the parser acts on (entries 0 to 5 are information-block record types).
constexpr int kFirstValueType = 6;
constexpr int kLastValueType = 33;

enum class Quantity { None, Length, Angle, Temperature, Pressure };

// What a unit entry asks the host's converter factory for: the factory operation of the
// quantity (GetAngleConverter, GetLengthConverter, ...) with the host's unit code. A DMS
// row gets the plug-in's own wrapper around the host's converter.
struct UnitRow {
  Quantity quantity;
  int unitCode;
  bool dms;
};

// Row i belongs to entry i of kUnitTable.
inline constexpr UnitRow kUnitRows[kUnitCount] = {
    {Quantity::Angle, 4, false},        // "gon "
    {Quantity::Angle, 3, false},        // "DEG "
    {Quantity::Angle, 1, true},         // "DMS "
    {Quantity::Angle, 5, false},        // "mil "
    {Quantity::Angle, 4, false},        // "grad"
    {Quantity::Length, 0, false},       // "m   "
    {Quantity::Length, 1, false},       // "ft  "
    {Quantity::Pressure, 0, false},     // "Torr"
    {Quantity::Pressure, 1, false},     // "hPa "
    {Quantity::Pressure, 2, false},     // "inHg"
    {Quantity::Temperature, 0, false},  // "C   "
    {Quantity::Temperature, 1, false},  // "F   "
    {Quantity::Angle, 4, false},        // "grd "
    {Quantity::Temperature, 0, false},  // "\u00B0C  "
    {Quantity::Pressure, 0, false},     // "mmHg"
};

// The units a file starts with, before any block names one ("ft  ", "DEG ", "hPa ", "F   ").
inline constexpr int kInitialLengthUnit = 1;
inline constexpr int kInitialAngleUnit = 3;
inline constexpr int kInitialPressureUnit = 1;
inline constexpr int kInitialTemperatureUnit = 1;

// The quantity whose converter reads a value of this type index; None outside 6 to 33.
Quantity QuantityOfType(int typeIndex);

// One data block taken apart: "SD        12.345 m   " gives "SD", "12.345", "m".
struct DataBlockParts {
  std::wstring typeCode;
  std::wstring value;
  std::wstring unit;
};

// The same parts as views into the block, for a caller that reads them before the block
// changes: nothing is copied.
struct DataBlockFields {
  std::wstring_view typeCode;
  std::wstring_view value;
  std::wstring_view unit;
};

// Splits a data block at single blanks (white space around the value is trimmed). The block
// is consumed. The parts' buffers are reused, so a caller that keeps one DataBlockParts
// allocates nothing per block once they have grown.
void SplitDataBlock(std::wstring& block, DataBlockParts& parts);
// The same split of a block that stays where it is, in the line.
void SplitDataBlock(std::wstring_view block, DataBlockParts& parts);
// The same with white space the caller has taken from the locale once for a whole file.
void SplitDataBlock(std::wstring_view block, DataBlockParts& parts, const CWhiteSpace& isSpace);
DataBlockFields SplitDataBlockFields(std::wstring_view block, const CWhiteSpace& isSpace);

// Table lookups with the padding the tables expect. Holds its formatters so the padding
// formats are parsed once per file, not once per block.
class CFieldTables {
 public:
  CFieldTables();

  // Pads the code to two characters ("%-2s", never cut) in place; its index 0 to 33, or -1.
  int LookupTypeCode(std::wstring& code);
  // Pads the unit to four characters ("%-4s", never cut) in place; its index 0 to 14,
  // whatever the case of its ASCII letters, or -1.
  int LookupUnit(std::wstring& unit);

  // The indices the lookups above give, for a text that is not needed padded afterwards:
  // a text narrower than the entries is padded with blanks on the stack, not formatted.
  int TypeCodeIndex(std::wstring_view code) const;
  int UnitIndex(std::wstring_view unit) const;

  const std::wstring& TypeCodeTable() const { return m_typeCodeTable; }
  const std::wstring& UnitTable() const { return m_unitTable; }

 private:
  std::wstring m_typeCodeTable;
  std::wstring m_unitTable;
  // The unit table with its ASCII letters folded, searched by LookupUnit.
  std::wstring m_foldedUnitTable;
  boost::wformat m_typeCodePadding;
  boost::wformat m_unitPadding;
  // Type index by the two characters of a padded code below 128, -1 for no entry: a code is
  // looked up at every data block.
  std::array<std::int8_t, 128 * 128> m_asciiTypeCodes;
  // Each unit entry's four characters, case folded, packed 7 bits apiece, or 0 for an entry
  // that is not ASCII: a unit is looked up at every data block, most often an empty one.
  std::array<std::uint32_t, kUnitCount> m_asciiUnits;
};

}  // namespace m5
