// The lookups must name the same row as the reading of the tables the instrument software
// documents: a code or a unit padded with blanks to the entry width ("%-2s", "%-4s", never
// cut) and found in the "|"-separated table text, units without regard to ASCII case. Any
// text a data block's field can hold is compared, blanks and texts that straddle two
// entries included; a field never holds the line's separator "|", and no row matches one
// that does.
#include <cwctype>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>
#include <boost/format.hpp>

#include "tests/support/recording_host.h"
#include "values/field_tables.h"

namespace {

// Two-character codes, each followed by "|"; four-character units separated by "|".
constexpr std::wstring_view kTypeCodeTable =
    L"PI|TI|TG|KR|KD|TR|X |x |N_|n |Y |y |E_|e |Z |SD|D |HD|E |Hz|HV|V1|V2|V3|th|ih|h |dR|DL|T_|"
    L"T |C |P |Om|";
constexpr std::wstring_view kUnitTable =
    L"gon |DEG |DMS |mil |grad|m   |ft  |Torr|hPa |inHg|C   |F   |grd |\u00B0C  |mmHg";

std::wstring Folded(std::wstring text) {
  for (wchar_t& c : text) {
    c = m5::FoldAsciiCase(c);
  }
  return text;
}

int Find(std::wstring_view table, const wchar_t* format, std::size_t stride,
         const std::wstring& text) {
  std::wstring padded = text;
  if (padded.size() < stride - 1) {
    padded = (boost::wformat(format) % text).str();
  }
  const std::size_t offset = table.find(padded);
  if (offset == std::wstring_view::npos || offset % stride != 0) {
    return -1;
  }
  return static_cast<int>(offset / stride);
}

int PaddedTypeCode(const std::wstring& code) {
  return Find(kTypeCodeTable, L"%-2s", 3, code);
}

int PaddedUnit(const std::wstring& unit) {
  return Find(Folded(std::wstring(kUnitTable)), L"%-4s", 5, Folded(unit));
}

// Every text of up to maxLength characters from the alphabet.
std::vector<std::wstring> AllTexts(const std::wstring& alphabet, std::size_t maxLength) {
  std::vector<std::wstring> texts{L""};
  std::size_t from = 0;
  for (std::size_t length = 1; length <= maxLength; ++length) {
    const std::size_t to = texts.size();
    for (std::size_t i = from; i < to; ++i) {
      for (wchar_t c : alphabet) {
        texts.push_back(texts[i] + c);
      }
    }
    from = to;
  }
  return texts;
}

void ExpectSameIndices(const std::vector<std::wstring>& texts) {
  m5::CFieldTables tables;
  for (const std::wstring& text : texts) {
    const bool holdsSeparator = text.find(L'|') != std::wstring::npos;
    ASSERT_EQ(tables.TypeCodeIndex(text), holdsSeparator ? -1 : PaddedTypeCode(text))
        << m5test::ToUtf8(text);
    ASSERT_EQ(tables.UnitIndex(text), holdsSeparator ? -1 : PaddedUnit(text))
        << m5test::ToUtf8(text);
  }
}

TEST(FieldLookupEquivalence, ShortTextsOfTableCharacters) {
  // Characters of both tables' entries, the separator and the blank.
  ExpectSameIndices(AllTexts(L"| mgDT_oCP", 5));
}

TEST(FieldLookupEquivalence, EveryEntryAndItsNeighbours) {
  std::vector<std::wstring> texts;
  for (const std::wstring_view table : {kTypeCodeTable, kUnitTable}) {
    for (std::size_t start = 0; start < table.size(); ++start) {
      for (std::size_t length = 0; length <= 6 && start + length <= table.size(); ++length) {
        const std::wstring piece(table.substr(start, length));
        texts.push_back(piece);
        std::wstring trimmed = piece;
        while (!trimmed.empty() && trimmed.back() == L' ') {
          trimmed.pop_back();
        }
        texts.push_back(trimmed);
        // Units match without regard to case, type codes by it.
        for (std::wstring folded : {piece, trimmed}) {
          for (wchar_t& c : folded) {
            c = static_cast<wchar_t>(std::towupper(c));
          }
          texts.push_back(folded);
          for (wchar_t& c : folded) {
            c = static_cast<wchar_t>(std::towlower(c));
          }
          texts.push_back(folded);
        }
      }
    }
  }
  texts.push_back(L"\u00B0C");
  texts.push_back(L"\u00B0c");
  texts.push_back(L"gON |dEG");
  texts.push_back(L"mmHgx");
  texts.push_back(L"gon  ");
  ExpectSameIndices(texts);
}

TEST(FieldLookupEquivalence, RowsAreTheTablesEntries) {
  ASSERT_EQ(kTypeCodeTable.size(), 3u * m5::kTypeCodeCount);
  for (int i = 0; i < m5::kTypeCodeCount; ++i) {
    EXPECT_EQ(PaddedTypeCode(std::wstring(m5::kTypeCodeRows[i].code)), i);
  }
  ASSERT_EQ(kUnitTable.size() + 1, 5u * m5::kUnitCount);
  for (int i = 0; i < m5::kUnitCount; ++i) {
    EXPECT_EQ(PaddedUnit(std::wstring(m5::kUnitRows[i].text)), i);
  }
}

}  // namespace
