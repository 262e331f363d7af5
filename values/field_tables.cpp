#include "values/field_tables.h"

#include <cstddef>
#include <locale>
#include <utility>

namespace m5 {
namespace {

constexpr Quantity kNone = Quantity::None;
constexpr Quantity kLength = Quantity::Length;
constexpr Quantity kAngle = Quantity::Angle;
constexpr Quantity kTemperature = Quantity::Temperature;
constexpr Quantity kPressure = Quantity::Pressure;

// Which converter reads each type's value, by type index.
// clang-format off
constexpr Quantity kTypeQuantities[kTypeCodeCount] = {
    kNone, kNone, kNone, kNone, kNone, kNone,     // PI TI TG KR KD TR: information records
    kLength, kLength, kLength, kLength,           // X x N_ n
    kLength, kLength, kLength, kLength,           // Y y E_ e
    kLength,                                      // Z
    kLength, kLength, kLength, kLength,           // SD D HD E
    kAngle, kAngle, kAngle, kAngle, kAngle,       // Hz HV V1 V2 V3
    kLength, kLength,                             // th ih
    kLength, kLength, kLength,                    // h dR DL
    kTemperature, kTemperature, kTemperature,     // T_ T C
    kPressure,                                    // P
    kAngle,                                       // Om
};
// clang-format on

constexpr std::size_t kTypeCodeWidth = 2;
constexpr std::size_t kTypeCodeStride = 3;
constexpr std::size_t kUnitWidth = 4;
constexpr std::size_t kUnitStride = 5;

// Pads text in place to at least the table width, never cutting it. A text that already
// has the width is left as it is, which is what the format would give.
void Pad(boost::wformat& padding, std::size_t width, std::wstring& text) {
  if (text.size() >= width) {
    return;
  }
  padding.clear();
  padding % text;
  text = padding.str();
}

int Find(std::wstring_view table, std::wstring_view padded, std::size_t stride) {
  const std::size_t offset = table.find(padded);
  // A text from a data block holds no "|", so it can only match at an entry's start; the
  // check keeps a stray "|" from naming the wrong entry.
  if (offset == std::wstring::npos || offset % stride != 0) {
    return -1;
  }
  return static_cast<int>(offset / stride);
}

// What Pad and Find give together, without a formatter or an allocation. A match can only
// start at an entry (a text without "|" fits one entry at most, and a "|" in the text
// lines up with the table's separators at one offset in every stride), so only entries
// are compared: the text, padded with blanks to the entry width, against the table from
// the entry's start on, character by character, each first passed through fold.
template <std::size_t kWidth, typename Fold>
int FindPadded(std::wstring_view table, std::wstring_view text, std::size_t stride, Fold fold) {
  const std::size_t span = text.size() > kWidth ? text.size() : kWidth;
  for (std::size_t entry = 0; entry + span <= table.size(); entry += stride) {
    // A library compare per entry costs more than the entry.
    std::size_t k = 0;
    while (k < span && fold(table[entry + k]) == fold(k < text.size() ? text[k] : L' ')) {
      ++k;
    }
    if (k == span) {
      return static_cast<int>(entry / stride);
    }
  }
  return -1;
}

wchar_t Exact(wchar_t c) {
  return c;
}

}  // namespace

Quantity QuantityOfType(int typeIndex) {
  if (typeIndex < kFirstValueType || typeIndex > kLastValueType) {
    return Quantity::None;
  }
  return kTypeQuantities[typeIndex];
}

void SplitDataBlock(std::wstring& block, DataBlockParts& parts) {
  SplitDataBlock(std::wstring_view(block), parts);
  block.clear();
}

namespace {

template <typename IsSpace>
DataBlockFields SplitWith(std::wstring_view block, const IsSpace& isSpace) {
  DataBlockFields fields;
  if (block.empty()) {
    return fields;
  }

  const std::size_t size = block.size();
  std::size_t pos = 0;
  // The field up to the next blank; the blank itself is consumed. Fields are a few
  // characters long, shorter than a library search takes to start.
  const auto cut = [&block, &pos, size]() {
    const std::size_t begin = pos;
    std::size_t end = pos;
    while (end < size && block[end] != L' ') {
      ++end;
    }
    pos = end < size ? end + 1 : size;
    return std::make_pair(begin, end);
  };
  const auto skipSpace = [&]() {
    while (pos < size && isSpace(block[pos])) {
      ++pos;
    }
  };

  auto [codeBegin, codeEnd] = cut();
  fields.typeCode = block.substr(codeBegin, codeEnd - codeBegin);

  skipSpace();
  auto [valueBegin, valueEnd] = cut();
  while (valueBegin < valueEnd && isSpace(block[valueBegin])) {
    ++valueBegin;
  }
  while (valueEnd > valueBegin && isSpace(block[valueEnd - 1])) {
    --valueEnd;
  }
  fields.value = block.substr(valueBegin, valueEnd - valueBegin);

  // Anything after the unit's closing blank is not read.
  skipSpace();
  auto [unitBegin, unitEnd] = cut();
  fields.unit = block.substr(unitBegin, unitEnd - unitBegin);
  return fields;
}

template <typename IsSpace>
void SplitWith(std::wstring_view block, DataBlockParts& parts, const IsSpace& isSpace) {
  const DataBlockFields fields = SplitWith(block, isSpace);
  parts.typeCode.assign(fields.typeCode);
  parts.value.assign(fields.value);
  parts.unit.assign(fields.unit);
}

// Up to four ASCII characters other than "|", padded with blanks, case folded and packed
// 7 bits apiece; 0 for any other text (no packed entry is 0: every entry has a character
// that is not NUL).
std::uint32_t PackUnit(std::wstring_view text) {
  if (text.size() > kUnitWidth) {
    return 0;
  }
  std::uint32_t key = 0;
  for (std::size_t i = 0; i < kUnitWidth; ++i) {
    const wchar_t c = FoldAsciiCase(i < text.size() ? text[i] : L' ');
    if (static_cast<std::uint32_t>(c) >= 128 || c == L'|' || c == L'\0') {
      return 0;
    }
    key = (key << 7) | static_cast<std::uint32_t>(c);
  }
  return key;
}

}  // namespace

void SplitDataBlock(std::wstring_view block, DataBlockParts& parts) {
  // White space as the user's locale classifies it; fields themselves end at a blank only.
  const std::locale locale;
  const auto& ctype = std::use_facet<std::ctype<wchar_t>>(locale);
  SplitWith(block, parts, [&ctype](wchar_t c) { return ctype.is(std::ctype_base::space, c); });
}

void SplitDataBlock(std::wstring_view block, DataBlockParts& parts, const CWhiteSpace& isSpace) {
  SplitWith(block, parts, isSpace);
}

DataBlockFields SplitDataBlockFields(std::wstring_view block, const CWhiteSpace& isSpace) {
  return SplitWith(block, isSpace);
}

CFieldTables::CFieldTables()
    : m_typeCodeTable(kTypeCodeTable),
      m_unitTable(kUnitTable),
      m_foldedUnitTable(kUnitTable),
      m_typeCodePadding(L"%-2s"),
      m_unitPadding(L"%-4s") {
  m_asciiTypeCodes.fill(-1);
  // From the last entry to the first, so that the first of equal entries wins as in Find.
  for (int i = kTypeCodeCount - 1; i >= 0; --i) {
    const auto first =
        static_cast<std::size_t>(kTypeCodeTable[kTypeCodeStride * static_cast<std::size_t>(i)]);
    const auto second =
        static_cast<std::size_t>(kTypeCodeTable[kTypeCodeStride * static_cast<std::size_t>(i) + 1]);
    if (first < 128 && second < 128) {
      m_asciiTypeCodes[first * 128 + second] = static_cast<std::int8_t>(i);
    }
  }
  for (wchar_t& c : m_foldedUnitTable) {
    c = FoldAsciiCase(c);
  }
  for (std::size_t i = 0; i < kUnitCount; ++i) {
    m_asciiUnits[i] = PackUnit(std::wstring_view(kUnitTable + kUnitStride * i, kUnitWidth));
  }
}

int CFieldTables::LookupTypeCode(std::wstring& code) {
  Pad(m_typeCodePadding, kTypeCodeWidth, code);
  return Find(m_typeCodeTable, code, kTypeCodeStride);
}

int CFieldTables::LookupUnit(std::wstring& unit) {
  Pad(m_unitPadding, kUnitWidth, unit);
  std::wstring folded = unit;
  for (wchar_t& c : folded) {
    c = FoldAsciiCase(c);
  }
  return Find(m_foldedUnitTable, folded, kUnitStride);
}

int CFieldTables::TypeCodeIndex(std::wstring_view code) const {
  if (code.size() <= kTypeCodeWidth) {
    const std::size_t first = code.empty() ? L' ' : static_cast<std::size_t>(code[0]);
    const std::size_t second = code.size() < 2 ? L' ' : static_cast<std::size_t>(code[1]);
    // "|" never reaches the table this way: no entry holds it, so its slot says -1 only
    // when Find would too; such codes take the general path.
    if (first < 128 && second < 128 && first != L'|' && second != L'|') {
      return m_asciiTypeCodes[first * 128 + second];
    }
  }
  return FindPadded<kTypeCodeWidth>(m_typeCodeTable, code, kTypeCodeStride, Exact);
}

int CFieldTables::UnitIndex(std::wstring_view unit) const {
  // An ASCII text can only be an ASCII entry, and a packed key is the padded text.
  if (const std::uint32_t key = PackUnit(unit); key != 0) {
    for (std::size_t i = 0; i < kUnitCount; ++i) {
      if (m_asciiUnits[i] == key) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  return FindPadded<kUnitWidth>(m_unitTable, unit, kUnitStride, FoldAsciiCase);
}

}  // namespace m5
