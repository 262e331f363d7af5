#include <gtest/gtest.h>

#include "host/outputs/value_format.h"

#include <limits>
#include <string>

namespace m5host {
namespace {

constexpr double kPi = 3.14159265358979323846;

TEST(ValueFormat, AnglesInEachUnit) {
  struct Case {
    double radians;
    AngleUnit unit;
    const char* text;
  };
  const Case cases[] = {
      {kPi / 2, AngleUnit::Gon, "100.0000"},
      {kPi / 2, AngleUnit::Degrees, "90.00000"},
      {kPi / 2, AngleUnit::Dms, "90°00'00.0\""},
      {(12 + 34 / 60.0 + 56.5 / 3600.0) * kPi / 180, AngleUnit::Dms, "12°34'56.5\""},
      // 59.96" rounds into the next minute, not to 60.0".
      {(10 + 59 / 60.0 + 59.96 / 3600.0) * kPi / 180, AngleUnit::Dms, "11°00'00.0\""},
      {-0.5 * kPi / 180, AngleUnit::Dms, "-0°30'00.0\""},
      {-1e-12, AngleUnit::Gon, "0.0000"},
      {-1e-12, AngleUnit::Dms, "0°00'00.0\""},
      {kPi / 2, AngleUnit::Radians, "1.570796"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatAngle(c.radians, c.unit), c.text);
  }
}

TEST(ValueFormat, LengthsToTheThousandth) {
  struct Case {
    double metres;
    LengthUnit unit;
    const char* text;
  };
  const Case cases[] = {
      {12.3456, LengthUnit::Metre, "12.346"},
      {-0.0004, LengthUnit::Metre, "0.000"},
      {1e20, LengthUnit::Metre, "100000000000000000000.000"},
      {std::numeric_limits<double>::quiet_NaN(), LengthUnit::Metre, "?"},
      {0.3048, LengthUnit::Foot, "1.000"},
      // The two feet differ by 2 ppm: 2 ft in 1,000,000 ft, which state-plane grids show.
      {304800.0, LengthUnit::Foot, "1000000.000"},
      {304800.0, LengthUnit::UsSurveyFoot, "999998.000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatLength(c.metres, c.unit), c.text);
  }
}

// Files other programs read get each quantity to the decimals of its unit, without the
// noise a conversion leaves (18 ft through metres reads 18.000000000000004) or zeros after.
TEST(ValueFormat, NumbersForOtherProgramsAtTheirUnitsPrecision) {
  struct Case {
    std::string text, expected;
  };
  const Case cases[] = {
      {LengthText(18 * 0.3048, LengthUnit::Foot), "18"},
      {LengthText(57.127, LengthUnit::Metre), "57.127"},
      {LengthText(1.40413, LengthUnit::Metre), "1.40413"},  // a digital level's 0.01 mm
      {LengthText(1.234564, LengthUnit::Metre), "1.23456"},
      {LengthText(-0.000004, LengthUnit::Metre), "0"},
      {LengthText(1200.0 / 3937.0, LengthUnit::UsSurveyFoot), "1"},
      {LengthText(1200.0, LengthUnit::UsSurveyFoot), "3937"},
      {LengthText(1200.0, LengthUnit::Foot), "3937.00787"},
      {AngleText(kPi, AngleUnit::Gon), "200"},
      {AngleText(123.4567 * kPi / 200, AngleUnit::Gon), "123.4567"},
      {AngleText(kPi / 4, AngleUnit::Degrees), "45"},
      {AngleText(1.0 / 3600 * kPi / 180, AngleUnit::Degrees), "0.000278"},
      {AngleText(kPi / 2, AngleUnit::Radians), "1.57079633"},
      {AngleText(kPi / 2, AngleUnit::Dms), "90°00'00.0\""},
      {AirText(20.000000000000004), "20"},
      {AirText(29.9 * 33.8638866667), "1012.53"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text, c.expected);
  }
}

}  // namespace
}  // namespace m5host
