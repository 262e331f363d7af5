#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "host/survey/compact_text.h"
#include "host/survey/maybe_double.h"

namespace m5host {
namespace {

std::uint64_t Bits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

double FromBits(std::uint64_t bits) {
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

TEST(MaybeDouble, EveryValueThePlugInSendsStaysSet) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // The last two are NaNs with payloads, one of them the bits that mean "unset".
  const double values[] = {0.0,
                           -0.0,
                           1e-300,
                           -1.7976931348623157e308,
                           kInf,
                           -kInf,
                           FromBits(0xFFF8'0000'0000'0000ULL),
                           FromBits(0x7FF8'0000'0000'5E75ULL)};
  for (const double value : values) {
    SCOPED_TRACE(testing::Message() << std::hex << Bits(value));
    const MaybeDouble kept(value);
    ASSERT_TRUE(kept.has_value());
    if (std::isnan(value)) {
      EXPECT_TRUE(std::isnan(*kept));
      EXPECT_EQ(std::signbit(*kept), std::signbit(value));
    } else {
      EXPECT_EQ(Bits(*kept), Bits(value));  // the sign of zero too
    }
  }
  MaybeDouble unset;
  EXPECT_FALSE(unset);
  EXPECT_EQ(unset.value_or(2.5), 2.5);
  EXPECT_THROW(static_cast<void>(unset.value()), std::bad_optional_access);
  EXPECT_EQ(std::optional<double>(unset), std::nullopt);
  unset = 3.0;
  EXPECT_EQ(unset, 3.0);
  unset = std::nullopt;
  EXPECT_EQ(unset, std::nullopt);
}

TEST(CompactText, KeepsTextsOfEveryLengthThroughCopiesAndMoves) {
  // Inside, at the edge of what fits, just past it, and far beyond; UTF-8 and a NUL too.
  const std::string texts[] = {"",
                               "1001",
                               "ОПОРА-7",
                               std::string(15, 'a'),
                               std::string(16, 'b'),
                               std::string("a\0b", 3),
                               std::string(100000, 'z')};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.substr(0, 20));
    CompactText original(text);
    EXPECT_EQ(original.view(), text);
    CompactText copy = original;
    EXPECT_EQ(copy, original);
    CompactText moved = std::move(original);
    EXPECT_EQ(moved.view(), text);
    const CompactText& same = copy;
    copy = same;  // assigning a text to itself keeps it
    EXPECT_EQ(std::string(copy), text);
    copy = "short";
    EXPECT_EQ(copy, "short");
    moved = copy;
    EXPECT_EQ(moved, "short");
  }
}

TEST(MaybeText, UnsetIsNotEmptyAndSurvivesCopies) {
  MaybeText code;
  EXPECT_FALSE(code);
  EXPECT_EQ(code.value_or("none"), "none");
  const MaybeText unsetCopy = code;
  EXPECT_FALSE(unsetCopy);

  code = "";
  ASSERT_TRUE(code);
  EXPECT_FALSE(code.HasText());
  EXPECT_EQ(code, "");
  code = std::optional<std::string>(std::string(40, 'k'));
  const MaybeText longCopy = code;
  EXPECT_TRUE(longCopy.HasText());
  EXPECT_EQ(longCopy, std::string(40, 'k'));
  code = std::optional<std::string>();
  EXPECT_EQ(code, std::nullopt);
}

}  // namespace
}  // namespace m5host
