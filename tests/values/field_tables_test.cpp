#include "values/field_tables.h"

#include <array>
#include <locale>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "tests/support/recording_host.h"

namespace {

using m5::CFieldTables;
using m5::Quantity;

struct LookupCase {
  const wchar_t* text;
  int index;
};

TEST(FieldTables, TypeCodesAreLookedUpPaddedAndExact) {
  const LookupCase cases[] = {
      {L"SD", 15},  {L"X", 6},  {L"x", 7},   {L"N", -1},  {L"N_", 8},   {L"n", 9},
      {L"PI1", -1}, {L"E", 18}, {L"E_", 12}, {L"e", 13},  {L"Hz", 19},  {L"hz", -1},
      {L"", -1},    {L"PI", 0}, {L"Om", 33}, {L"X ", 6},  {L"T", 30},   {L"T_", 29},
      {L"C", 31},   {L"P", 32}, {L"|X", -1}, {L" |", -1}, {L"SD ", -1},
  };
  CFieldTables tables;
  for (const LookupCase& c : cases) {
    EXPECT_EQ(tables.TypeCodeIndex(c.text), c.index) << m5test::ToUtf8(c.text);
  }
}

TEST(FieldTables, UnitsAreLookedUpPaddedAndNeverCut) {
  const LookupCase cases[] = {
      {L"gon", 0},
      {L"DEG", 1},
      {L"DMS", 2},
      {L"mil", 3},
      {L"grad", 4},
      {L"m", 5},
      {L"ft", 6},
      {L"Torr", 7},
      {L"hPa", 8},
      {L"inHg", 9},
      {L"C", 10},
      {L"F", 11},
      {L"grd", 12},
      {L"\u00B0C", 13},
      {L"mmHg", 14},
      {L"", -1},
      {L"Torrr", -1},
      {L"m   ", 5},
      {L"g", -1},
      {L"|DEG", -1},
      // Case is no part of a unit's name.
      {L"deg", 1},
      {L"Deg", 1},
      {L"dms", 2},
      {L"GON", 0},
      {L"MIL", 3},
      {L"GRAD", 4},
      {L"M", 5},
      {L"FT", 6},
      {L"torr", 7},
      {L"hpa", 8},
      {L"INHG", 9},
      {L"c", 10},
      {L"f", 11},
      {L"GRD", 12},
      {L"\u00B0c", 13},
      {L"MMHG", 14},
      {L"M   ", 5},
      {L"DEG|", -1},
      // Only ASCII letters fold: a Cyrillic capital Es is no Latin C.
      {L"\u0421", -1},
      {L"\u00B0\u0421", -1},
  };
  CFieldTables tables;
  for (const LookupCase& c : cases) {
    EXPECT_EQ(tables.UnitIndex(c.text), c.index) << m5test::ToUtf8(c.text);
  }
}

// A row added to the unit table that differs from another only in case would make a unit
// text name two rows; the table does not compile then.
using UnitTexts = std::array<std::wstring_view, 3>;
static_assert(m5::UnitTextsDifferBeyondCase(UnitTexts{L"gon", L"DEG", L"grad"}));
static_assert(!m5::UnitTextsDifferBeyondCase(UnitTexts{L"gon", L"DEG", L"Deg"}));
static_assert(!m5::UnitTextsDifferBeyondCase(UnitTexts{L"m", L"ft", L"M   "}));

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
    EXPECT_EQ(m5::QuantityOfType(tables.TypeCodeIndex(c.code)), c.quantity)
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

// Splits with white space as the global locale says it is, taken once as the parser takes it
// for a file.
void ExpectSplits(const SplitCase* begin, const SplitCase* end) {
  const std::locale locale;
  const m5::CWhiteSpace isSpace(std::use_facet<std::ctype<wchar_t>>(locale));
  for (const SplitCase* c = begin; c != end; ++c) {
    const m5::DataBlockFields parts = m5::SplitDataBlockFields(c->block, isSpace);
    const std::string name = m5test::ToUtf8(c->block);
    EXPECT_EQ(parts.typeCode, c->typeCode) << name;
    EXPECT_EQ(parts.value, c->value) << name;
    EXPECT_EQ(parts.unit, c->unit) << name;
  }
}

TEST(FieldTables, DataBlocksSplitAtWhiteSpace) {
  const SplitCase cases[] = {
      {L"SD        12.345 m   ", L"SD", L"12.345", L"m"},
      {L"X 100.000", L"X", L"100.000", L""},
      {L"Hz", L"Hz", L"", L""},
      {L"", L"", L"", L""},
      {L"                      ", L"", L"", L""},
      {L"P            29.9 inHg", L"P", L"29.9", L"inHg"},
      {L"Om       249.5111 DMS ", L"Om", L"249.5111", L"DMS"},
      // A tab parts the fields as a blank does (a tab-converted transfer).
      {L"T\t20\tC", L"T", L"20", L"C"},
      {L"T_ \t20 \t C  ", L"T_", L"20", L"C"},
      {L"V1 12.3\t\r DMS", L"V1", L"12.3", L"DMS"},
      {L"V1 12.3\t\tDMS", L"V1", L"12.3", L"DMS"},
      // Whatever follows the unit's white space stays unread.
      {L"th 1.5 m 2.0 ft", L"th", L"1.5", L"m"},
      {L"SD 1.0 m\t", L"SD", L"1.0", L"m"},
      {L"Hz10gon", L"Hz10gon", L"", L""},
      // So does a no-break blank (an editor's, or byte A0 of Windows-1251).
      {L"SD\u00A012.5 m\u00A0", L"SD", L"12.5", L"m"},
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
