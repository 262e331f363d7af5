#include <gtest/gtest.h>

#include "host/value_format.h"

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
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatAngle(c.radians, c.unit), c.text);
  }
}

TEST(ValueFormat, LengthsToTheMillimetre) {
  EXPECT_EQ(FormatLength(12.3456), "12.346");
  EXPECT_EQ(FormatLength(-0.0004), "0.000");
  EXPECT_EQ(FormatLength(1e20), "100000000000000000000.000");
  EXPECT_EQ(FormatLength(std::numeric_limits<double>::quiet_NaN()), "?");
}

}  // namespace
}  // namespace m5host
