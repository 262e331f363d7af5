#include <gtest/gtest.h>

#include "host/outputs/value_format.h"

#include <limits>

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

TEST(ValueFormat, ExactValuesForScripts) {
  EXPECT_EQ(ExactLength(1200.0 / 3937.0, LengthUnit::UsSurveyFoot), "1");
  EXPECT_EQ(ExactAngle(kPi, AngleUnit::Gon), "200");
  EXPECT_EQ(ExactAngle(kPi / 4, AngleUnit::Degrees), "45");
  EXPECT_EQ(ExactAngle(kPi / 2, AngleUnit::Dms), "90°00'00.0\"");
}

}  // namespace
}  // namespace m5host
