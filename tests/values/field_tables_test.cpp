#include "values/field_tables.h"

#include <locale>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/recording_host.h"

namespace {

using m5::CFieldTables;
using m5::DataBlockParts;
using m5::Quantity;

struct LookupCase {
  const wchar_t* text;
  int index;
  const wchar_t* padded;
};

// One CFieldTables for the whole table, as a parser keeps one for a file: the reused
// formatters must not carry anything from one code to the next.
TEST(FieldTables, TypeCodesAreLookedUpPaddedAndExact) {
  const LookupCase cases[] = {
      {L"SD", 15, L"SD"}, {L"X", 6, L"X "},   {L"x", 7, L"x "},     {L"N", -1, L"N "},
      {L"N_", 8, L"N_"},  {L"n", 9, L"n "},   {L"PI1", -1, L"PI1"}, {L"E", 18, L"E "},
      {L"E_", 12, L"E_"}, {L"e", 13, L"e "},  {L"Hz", 19, L"Hz"},   {L"hz", -1, L"hz"},
      {L"", -1, L"  "},   {L"PI", 0, L"PI"},  {L"Om", 33, L"Om"},   {L"X ", 6, L"X "},
      {L"T", 30, L"T "},  {L"T_", 29, L"T_"}, {L"C", 31, L"C "},    {L"P", 32, L"P "},
      {L"|X", -1, L"|X"}, {L" |", -1, L" |"}, {L"SD ", -1, L"SD "},
  };
  CFieldTables tables;
  for (const LookupCase& c : cases) {
    std::wstring code = c.text;
    EXPECT_EQ(tables.LookupTypeCode(code), c.index) << m5test::ToUtf8(c.text);
    EXPECT_EQ(code, c.padded) << m5test::ToUtf8(c.text);
  }
}

TEST(FieldTables, UnitsAreLookedUpPaddedAndNeverCut) {
  const LookupCase cases[] = {
      {L"gon", 0, L"gon "},
      {L"DEG", 1, L"DEG "},
      {L"DMS", 2, L"DMS "},
      {L"mil", 3, L"mil "},
      {L"grad", 4, L"grad"},
      {L"m", 5, L"m   "},
      {L"ft", 6, L"ft  "},
      {L"Torr", 7, L"Torr"},
      {L"hPa", 8, L"hPa "},
      {L"inHg", 9, L"inHg"},
      {L"C", 10, L"C   "},
      {L"F", 11, L"F   "},
      {L"grd", 12, L"grd "},
      {L"\u00B0C", 13, L"\u00B0C  "},
      {L"mmHg", 14, L"mmHg"},
      {L"", -1, L"    "},
      {L"Torrr", -1, L"Torrr"},
      {L"m   ", 5, L"m   "},
      {L"g", -1, L"g   "},
      {L"|DEG", -1, L"|DEG"},
      // Case is no part of a unit's name; the text itself keeps its own.
      {L"deg", 1, L"deg "},
      {L"Deg", 1, L"Deg "},
      {L"dms", 2, L"dms "},
      {L"GON", 0, L"GON "},
      {L"MIL", 3, L"MIL "},
      {L"GRAD", 4, L"GRAD"},
      {L"M", 5, L"M   "},
      {L"FT", 6, L"FT  "},
      {L"torr", 7, L"torr"},
      {L"hpa", 8, L"hpa "},
      {L"INHG", 9, L"INHG"},
      {L"c", 10, L"c   "},
      {L"f", 11, L"f   "},
      {L"GRD", 12, L"GRD "},
      {L"\u00B0c", 13, L"\u00B0c  "},
      {L"MMHG", 14, L"MMHG"},
      {L"M   ", 5, L"M   "},
      {L"DEG|", -1, L"DEG|"},
      // Only ASCII letters fold: a Cyrillic capital Es is no Latin C.
      {L"\u0421", -1, L"\u0421   "},
      {L"\u00B0\u0421", -1, L"\u00B0\u0421  "},
  };
  CFieldTables tables;
  for (const LookupCase& c : cases) {
    std::wstring unit = c.text;
    EXPECT_EQ(tables.UnitIndex(c.text), c.index) << m5test::ToUtf8(c.text);
    EXPECT_EQ(tables.LookupUnit(unit), c.index) << m5test::ToUtf8(c.text);
    EXPECT_EQ(unit, c.padded) << m5test::ToUtf8(c.text);
  }
}

// A row added to the unit table that differs from another only in case would make a unit
// text name two entries; the table does not compile then.
static_assert(m5::UnitEntriesDifferBeyondCase(L"gon |DEG |grad", 3));
static_assert(!m5::UnitEntriesDifferBeyondCase(L"gon |DEG |Deg ", 3));
static_assert(!m5::UnitEntriesDifferBeyondCase(L"m   |ft  |M   ", 3));

TEST(FieldTables, QuantityOfEveryValueType) {
  struct Case {
    const wchar_t* code;
    Quantity quantity;
  };
  const Case cases[] = {
      {L"PI", Quantity::None},       {L"TR", Quantity::None},    {L"X", Quantity::Length},
      {L"n", Quantity::Length},      {L"e", Quantity::Length},   {L"Z", Quantity::Length},
      {L"SD", Quantity::Length},     {L"E", Quantity::Length},   {L"Hz", Quantity::Angle},
      {L"HV", Quantity::Angle},      {L"V3", Quantity::Angle},   {L"th", Quantity::Length},
      {L"ih", Quantity::Length},     {L"DL", Quantity::Length},  {L"T_", Quantity::Temperature},
      {L"C", Quantity::Temperature}, {L"P", Quantity::Pressure}, {L"Om", Quantity::Angle},
  };
  CFieldTables tables;
  for (const Case& c : cases) {
    std::wstring code = c.code;
    EXPECT_EQ(m5::QuantityOfType(tables.LookupTypeCode(code)), c.quantity)
        << m5test::ToUtf8(c.code);
  }
  for (int outside : {-1, 34, 1000, -2147483647 - 1}) {
    EXPECT_EQ(m5::QuantityOfType(outside), Quantity::None) << outside;
  }
}

struct SplitCase {
  const wchar_t* block;
  const wchar_t* typeCode;
  const wchar_t* value;
  const wchar_t* unit;
};

void ExpectSplits(const SplitCase* begin, const SplitCase* end) {
  DataBlockParts parts;  // reused, as the parser reuses it
  for (const SplitCase* c = begin; c != end; ++c) {
    std::wstring block = c->block;
    m5::SplitDataBlock(block, parts);
    const std::string name = m5test::ToUtf8(c->block);
    EXPECT_EQ(parts.typeCode, c->typeCode) << name;
    EXPECT_EQ(parts.value, c->value) << name;
    EXPECT_EQ(parts.unit, c->unit) << name;
    EXPECT_TRUE(block.empty()) << name;
  }
}

TEST(FieldTables, DataBlocksSplitAtSingleBlanks) {
  const SplitCase cases[] = {
      {L"SD        12.345 m   ", L"SD", L"12.345", L"m"},
      {L"X 100.000", L"X", L"100.000", L""},
      {L"Hz", L"Hz", L"", L""},
      {L"", L"", L"", L""},
      {L"                      ", L"", L"", L""},
      {L"P            29.9 inHg", L"P", L"29.9", L"inHg"},
      {L"Om       249.5111 DMS ", L"Om", L"249.5111", L"DMS"},
      // Tabs and other white space are skipped around fields but never separate them.
      {L"T\t20\tC", L"T\t20\tC", L"", L""},
      {L"T_ \t20 \t C  ", L"T_", L"20", L"C"},
      {L"V1 12.3\t\r DMS", L"V1", L"12.3", L"DMS"},
      {L"V1 12.3\t\tDMS", L"V1", L"12.3\t\tDMS", L""},
      // Whatever follows the unit's blank stays unread.
      {L"th 1.5 m 2.0 ft", L"th", L"1.5", L"m"},
      {L"SD 1.0 m\t", L"SD", L"1.0", L"m\t"},
  };
  ExpectSplits(std::begin(cases), std::end(cases));
}

// Restores the global locale (and the C locale it sets) when a test changes it.
class GlobalLocale {
 public:
  explicit GlobalLocale(const std::locale& locale) : m_previous(std::locale::global(locale)) {}
  ~GlobalLocale() { std::locale::global(m_previous); }

 private:
  std::locale m_previous;
};

TEST(FieldTables, WhiteSpaceIsWhatTheGlobalLocaleSaysItIs) {
  const SplitCase classic[] = {
      {L"ih \u3000"
       L"1.5\u3000 m",
       L"ih",
       L"\u3000"
       L"1.5\u3000",
       L"m"},
  };
  // The Windows C run-time counts U+3000 as white space even in the classic locale.
  if (!std::isspace(L'\u3000', std::locale::classic())) {
    GlobalLocale scope(std::locale::classic());
    ExpectSplits(std::begin(classic), std::end(classic));
  }

  std::locale unicode;
  try {
    unicode = std::locale("C.UTF-8");
  } catch (const std::runtime_error&) {
    GTEST_SKIP() << "no C.UTF-8 locale on this system";
  }
  // The ideographic space is white space to a Unicode locale.
  const SplitCase wide[] = {
      {L"ih \u3000"
       L"1.5\u3000 \u3000m",
       L"ih", L"1.5", L"m"},
  };
  GlobalLocale scope(unicode);
  ExpectSplits(std::begin(wide), std::end(wide));
}

}  // namespace
