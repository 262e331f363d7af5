// The two fixed tables of an M5 data block: what a type code means and which unit a unit
// text names.
#pragma once

#include <string>

#include <boost/format.hpp>

namespace m5 {

// 34 two-character type codes, each followed by "|"; entry i starts at character 3i.
inline constexpr wchar_t kTypeCodeTable[] =
    L"PI|TI|TG|KR|KD|TR|X |x |N_|n |Y |y |E_|e |Z |SD|D |HD|E |Hz|HV|V1|V2|V3|th|ih|h |dR|DL|T_|"
    L"T |C |P |Om|";

// 15 four-character unit texts separated by "|"; entry i starts at character 5i. The
// fourteenth begins with the degree sign.
inline constexpr wchar_t kUnitTable[] =
    L"gon |DEG |DMS |mil |grad|m   |ft  |Torr|hPa |inHg|C   |F   |grd |\u00B0C  |mmHg";

// Type indices the parser acts on (entries 0 to 5 are information-block record types).
constexpr int kFirstValueType = 6;
constexpr int kLastValueType = 33;

enum class Quantity { None, Length, Angle, Temperature, Pressure };

// The quantity whose converter reads a value of this type index; None outside 6 to 33.
Quantity QuantityOfType(int typeIndex);

// One data block taken apart: "SD        12.345 m   " gives "SD", "12.345", "m".
struct DataBlockParts {
  std::wstring typeCode;
  std::wstring value;
  std::wstring unit;
};

// Splits a data block at single blanks (white space around the value is trimmed). The block
// is consumed. The parts' buffers are reused, so a caller that keeps one DataBlockParts
// allocates nothing per block once they have grown.
void SplitDataBlock(std::wstring& block, DataBlockParts& parts);

// Table lookups with the padding the tables expect. Holds its formatters so the padding
// formats are parsed once per file, not once per block.
class CFieldTables {
 public:
  CFieldTables();

  // Pads the code to two characters ("%-2s", never cut) in place; its index 0 to 33, or -1.
  int LookupTypeCode(std::wstring& code);
  // Pads the unit to four characters ("%-4s", never cut) in place; its index 0 to 14, or -1.
  int LookupUnit(std::wstring& unit);

  const std::wstring& TypeCodeTable() const { return m_typeCodeTable; }
  const std::wstring& UnitTable() const { return m_unitTable; }

 private:
  std::wstring m_typeCodeTable;
  std::wstring m_unitTable;
  boost::wformat m_typeCodePadding;
  boost::wformat m_unitPadding;
};

}  // namespace m5
