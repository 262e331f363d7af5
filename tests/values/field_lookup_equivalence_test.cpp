// The parser's lookups without padding must name the same entry as the padded lookups for
// any text a data block can hold, including separators, blanks and texts that straddle
// two entries of a table.
#include <cwctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/recording_host.h"
#include "values/field_tables.h"

namespace {

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
    std::wstring padded = text;
    ASSERT_EQ(tables.TypeCodeIndex(text), tables.LookupTypeCode(padded)) << m5test::ToUtf8(text);
    padded = text;
    ASSERT_EQ(tables.UnitIndex(text), tables.LookupUnit(padded)) << m5test::ToUtf8(text);
  }
}

TEST(FieldLookupEquivalence, ShortTextsOfTableCharacters) {
  // Characters of both tables' entries, the separator and the blank.
  ExpectSameIndices(AllTexts(L"| mgDT_oCP", 5));
}

TEST(FieldLookupEquivalence, EveryEntryAndItsNeighbours) {
  std::vector<std::wstring> texts;
  for (const std::wstring& table :
       {std::wstring(m5::kTypeCodeTable), std::wstring(m5::kUnitTable)}) {
    for (std::size_t start = 0; start < table.size(); ++start) {
      for (std::size_t length = 0; length <= 6 && start + length <= table.size(); ++length) {
        const std::wstring piece = table.substr(start, length);
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

}  // namespace
