#include "values/field_tables.h"

#include <utility>

namespace m5 {
namespace {

// The no-break blanks an editor or a code page puts where a blank was typed; no locale
// calls them space, but a surveyor sees a blank.
constexpr bool IsNoBreakBlank(wchar_t c) {
  return c == L'\u00A0' || c == L'\u2007' || c == L'\u202F';
}

template <typename IsSpaceOfLocale>
DataBlockFields SplitWith(std::wstring_view block, const IsSpaceOfLocale& isSpaceOfLocale) {
  const auto isSpace = [&isSpaceOfLocale](wchar_t c) {
    return isSpaceOfLocale(c) || IsNoBreakBlank(c);
  };
  DataBlockFields fields;
  if (block.empty()) {
    return fields;
  }

  const std::size_t size = block.size();
  std::size_t pos = 0;
  // The field up to the next white space, which is consumed: a tab parts type, value and
  // unit as a blank does (files passed through a tab-converting transfer), and a unit keeps
  // no white space after it. Fields are a few characters long, shorter than a library
  // search takes to start.
  const auto cut = [&block, &pos, size, &isSpace]() {
    const std::size_t begin = pos;
    std::size_t end = pos;
    while (end < size && !isSpace(block[end])) {
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

// Up to four ASCII characters other than "|", padded with blanks, case folded and packed
// 7 bits apiece; 0 for any other text (no packed row is 0: every row has a character that
// is not NUL).
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

wchar_t Exact(wchar_t c) {
  return c;
}

}  // namespace

Quantity QuantityOfType(int typeIndex) {
  if (typeIndex < 0 || typeIndex >= kTypeCodeCount) {
    return Quantity::None;
  }
  return kTypeCodeRows[typeIndex].quantity;
}

DataBlockFields SplitDataBlockFields(std::wstring_view block, const CWhiteSpace& isSpace) {
  return SplitWith(block, isSpace);
}

CFieldTables::CFieldTables() {
  m_asciiTypeCodes.fill(-1);
  for (int i = 0; i < kTypeCodeCount; ++i) {
    const std::wstring_view code = kTypeCodeRows[i].code;
    const auto first = static_cast<std::size_t>(code[0]);
    const auto second = static_cast<std::size_t>(code.size() < 2 ? L' ' : code[1]);
    if (first < 128 && second < 128) {
      m_asciiTypeCodes[first * 128 + second] = static_cast<std::int8_t>(i);
    }
  }
  for (std::size_t i = 0; i < m_asciiUnits.size(); ++i) {
    m_asciiUnits[i] = PackUnit(kUnitRows[i].text);
  }
}

int CFieldTables::TypeCodeIndex(std::wstring_view code) const {
  if (code.size() <= kTypeCodeWidth) {
    const std::size_t first = code.empty() ? L' ' : static_cast<std::size_t>(code[0]);
    const std::size_t second = code.size() < 2 ? L' ' : static_cast<std::size_t>(code[1]);
    if (first < 128 && second < 128) {
      return m_asciiTypeCodes[first * 128 + second];
    }
  }
  for (int i = 0; i < kTypeCodeCount; ++i) {
    if (SamePadded<kTypeCodeWidth>(kTypeCodeRows[i].code, code, Exact)) {
      return i;
    }
  }
  return -1;
}

int CFieldTables::UnitIndex(std::wstring_view unit) const {
  // An ASCII text can only be an ASCII row, and a packed key is the padded text.
  if (const std::uint32_t key = PackUnit(unit); key != 0) {
    for (std::size_t i = 0; i < m_asciiUnits.size(); ++i) {
      if (m_asciiUnits[i] == key) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  for (int i = 0; i < kUnitCount; ++i) {
    if (SamePadded<kUnitWidth>(kUnitRows[i].text, unit, FoldAsciiCase)) {
      return i;
    }
  }
  return -1;
}

}  // namespace m5
