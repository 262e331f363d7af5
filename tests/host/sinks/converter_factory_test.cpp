#include <gtest/gtest.h>

#include <set>

#include "host/sinks/converter_factory.h"
#include "sdk/ref.h"

namespace m5host {
namespace {

TEST(ConverterFactory, BalancedWhenEveryReferenceIsReleased) {
  HostConverterFactory factory;
  factory.AddRef();
  {
    auto length = Plugin::Ref<IValueConverter>::adopt(factory.GetLengthConverter(1));
    auto angle = Plugin::Ref<Plugin::IAngleConverter>::adopt(factory.GetAngleConverter(4));
    double value = 0;
    ASSERT_TRUE(length->Parse(L"10", &value));
    EXPECT_DOUBLE_EQ(value, 3.048);
    EXPECT_EQ(factory.Balance().outstanding, 3);
  }
  factory.Release();
  EXPECT_TRUE(factory.Balance().Balanced());
}

TEST(ConverterFactory, CountsLeaksOverReleasesAndUseAfterRelease) {
  HostConverterFactory factory;
  IValueConverter* leaked = factory.GetPressureConverter(1);
  IValueConverter* released = factory.GetTemperatureConverter(0);
  EXPECT_TRUE(released->Release());
  EXPECT_FALSE(released->Release());
  double value = 0;
  released->Parse(L"1", &value);
  factory.Release();

  const ReferenceBalance balance = factory.Balance();
  EXPECT_EQ(balance.outstanding, 1);
  EXPECT_EQ(balance.overReleases, 2);
  EXPECT_EQ(balance.usedAfterRelease, 1);
  EXPECT_FALSE(balance.Balanced());
  leaked->Release();
}

// A plug-in that asks for a converter per value must not make the host keep millions, and
// a converter released not long ago must not be handed out again, so its late use counts.
TEST(ConverterFactory, ReusesConvertersOnlyLongAfterTheirRelease) {
  HostConverterFactory factory;
  IValueConverter* first = factory.GetLengthConverter(1);
  first->Release();
  std::set<IValueConverter*> handedOut{first};
  bool reused = false;
  for (int i = 1; i <= 70000 && !reused; ++i) {
    IValueConverter* next = factory.GetLengthConverter(0);
    reused = next == first;
    EXPECT_TRUE(!reused || i > 65536) << i;
    double value = 0;
    EXPECT_TRUE(next->Parse(L"2", &value));
    EXPECT_EQ(value, 2.0);  // the reused one reads in the unit it was asked for now
    handedOut.insert(next);
    next->Release();
  }
  EXPECT_TRUE(reused);
  EXPECT_LE(handedOut.size(), 65538u);
  EXPECT_EQ(factory.ConvertersCreated(), 65538);  // what was asked for, not what was made
  EXPECT_TRUE(factory.Balance().Balanced());
}

TEST(ConverterFactory, UnknownUnitRejectsEverythingAndIsNotedOnce) {
  HostConverterFactory factory;
  std::vector<std::string> calls;
  factory.OnCall([&](const std::string& line) { calls.push_back(line); });
  for (int i = 0; i < 3; ++i) {
    auto angle = Plugin::Ref<Plugin::IAngleConverter>::adopt(factory.GetAngleConverter(9));
    double value = 42;
    EXPECT_FALSE(angle->Parse(L"1", &value));
    EXPECT_EQ(value, 42);  // untouched
  }
  ASSERT_EQ(factory.UnknownUnits().size(), 1u);
  EXPECT_NE(factory.UnknownUnits()[0].find("angle unit 9"), std::string::npos);
  EXPECT_EQ(calls, std::vector<std::string>(3, "factory.GetAngleConverter(9)"));
  EXPECT_TRUE(factory.Balance().Balanced());
}

TEST(ConverterFactory, RejectedTextLeavesTheValueAlone) {
  HostConverterFactory factory;
  auto length = Plugin::Ref<IValueConverter>::adopt(factory.GetLengthConverter(0));
  double value = 7;
  EXPECT_FALSE(length->Parse(L"12,5", &value));
  EXPECT_FALSE(length->Parse(nullptr, &value));
  EXPECT_FALSE(length->Parse(L"1", nullptr));
  EXPECT_EQ(value, 7);
}

}  // namespace
}  // namespace m5host
