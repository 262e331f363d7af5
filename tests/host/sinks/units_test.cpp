#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "host/sinks/units.h"

namespace m5host {
namespace {

constexpr double kPi = 3.14159265358979323846;

struct Reading {
  Quantity quantity;
  int code;
  const wchar_t* text;
  double expected;
  double tolerance;
};

const Reading kReadings[] = {
    {Quantity::Length, 0, L"12.345", 12.345, 0},
    {Quantity::Length, 0, L"-0.5", -0.5, 0},
    {Quantity::Length, 0, L"+7", 7, 0},
    {Quantity::Length, 0, L".5", 0.5, 0},
    {Quantity::Length, 0, L"5.", 5, 0},
    {Quantity::Length, 0, L"1.5e2", 150, 0},
    {Quantity::Length, 0, L"1E-3", 0.001, 1e-18},
    {Quantity::Length, 1, L"10", 3.048, 1e-12},
    {Quantity::Length, 1, L"-3.2808399", -1.0, 1e-8},
    {Quantity::Angle, 4, L"100", kPi / 2, 1e-15},
    {Quantity::Angle, 4, L"400", 2 * kPi, 1e-15},
    {Quantity::Angle, 3, L"180", kPi, 1e-15},
    {Quantity::Angle, 5, L"1600", kPi / 2, 1e-15},
    {Quantity::Angle, 1, L"90.30.00", 90.5 * kPi / 180, 1e-15},
    {Quantity::Angle, 1, L"12.34.56", (12 + 34 / 60.0 + 56 / 3600.0) * kPi / 180, 1e-15},
    {Quantity::Angle, 1, L"12.34.56.5", (12 + 34 / 60.0 + 56.5 / 3600.0) * kPi / 180, 1e-15},
    {Quantity::Angle, 1, L"-0.30.00", -0.5 * kPi / 180, 1e-15},
    {Quantity::Angle, 1, L"45", kPi / 4, 1e-15},
    {Quantity::Angle, 1, L"45.7", (45 + 7 / 60.0) * kPi / 180, 1e-15},
    {Quantity::Pressure, 1, L"1013.25", 1013.25, 0},
    {Quantity::Pressure, 0, L"760", 1013.25, 1e-3},
    {Quantity::Pressure, 2, L"29.92", 1013.21, 1e-2},
    {Quantity::Temperature, 0, L"-5.5", -5.5, 0},
    {Quantity::Temperature, 1, L"212", 100, 1e-12},
    {Quantity::Temperature, 1, L"-40", -40, 1e-12},
};

TEST(Units, ReadsValuesIntoBaseUnits) {
  for (const Reading& r : kReadings) {
    SCOPED_TRACE(testing::Message() << "code " << r.code << " text " << r.text);
    const Unit* unit = FindUnit(r.quantity, r.code);
    ASSERT_NE(unit, nullptr);
    const std::optional<double> value = ToBaseUnit(*unit, r.text);
    ASSERT_TRUE(value.has_value());
    EXPECT_NEAR(*value, r.expected, r.tolerance);
  }
}

TEST(Units, RejectsAnythingNotReadInFull) {
  const wchar_t* decimals[] = {L"",    L" 1",    L"1 ",  L"1,5", L"1.2.3",   L"abc",   L"+",
                               L"-",   L".",     L"1e",  L"1e+", L"e5",      L"0x10",  L"inf",
                               L"nan", L"1e999", L"--1", L"+-1", L"1\u0660", L"\uFF11"};
  for (const wchar_t* text : decimals) {
    EXPECT_FALSE(ParseDecimal(text).has_value()) << "text [" << text << "]";
  }
  const wchar_t* dms[] = {L"",         L"12.",      L".30",        L"12.60.00",
                          L"12.00.60", L"12.345.6", L"12.30.00.",  L"1.2.3.4.5",
                          L"12.3a",    L"12..5",    L"12.30.1.5e3"};
  for (const wchar_t* text : dms) {
    EXPECT_FALSE(ParseDms(text).has_value()) << "text [" << text << "]";
  }
}

TEST(Units, ReadAsWrittenTakesMinutesAndSecondsOfAnyDigitsButStillOnlyDigits) {
  const Unit* dms = FindUnit(Quantity::Angle, 1);
  ASSERT_NE(dms, nullptr);
  EXPECT_EQ(ReadAsWritten(*dms, L"12.345.6"), 12.0 + 345.0 / 60.0 + 6.0 / 3600.0);
  EXPECT_EQ(ReadAsWritten(*dms, L"0.00.72"), 0.02);
  EXPECT_FALSE(ToBaseUnit(*dms, L"0.00.72").has_value());  // the real host stays strict
  EXPECT_FALSE(ReadAsWritten(*dms, L"12..5").has_value());
  EXPECT_EQ(ReadAsWritten(*FindUnit(Quantity::Length, 1), L"2.5"), 2.5);  // no scale
}

TEST(Units, ReadingIgnoresTheProcessLocale) {
  // A locale with a decimal comma must not change what "1.5" means.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous != nullptr ? previous : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr &&
      std::setlocale(LC_NUMERIC, "ru_RU.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma installed";
  }
  EXPECT_EQ(ParseDecimal(L"1.5"), 1.5);
  EXPECT_FALSE(ParseDecimal(L"1,5").has_value());
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Units, UnknownCodesHaveNoUnit) {
  EXPECT_EQ(FindUnit(Quantity::Angle, 0), nullptr);
  EXPECT_EQ(FindUnit(Quantity::Angle, 2), nullptr);
  EXPECT_EQ(FindUnit(Quantity::Length, 2), nullptr);
  EXPECT_EQ(FindUnit(Quantity::Pressure, -1), nullptr);
  EXPECT_EQ(FindUnit(Quantity::Temperature, 2), nullptr);
}

}  // namespace
}  // namespace m5host
