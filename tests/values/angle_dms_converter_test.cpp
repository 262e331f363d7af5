#include "values/angle_dms_converter.h"

#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "sdk/ref.h"
#include "tests/support/recording_host.h"

namespace {

// The host's D.MM.SS converter as the wrapper sees it: keeps the text it was given and
// counts the references taken on it. It lives on the test's stack, so Release never frees.
class InnerConverter : public Plugin::IAngleConverter {
 public:
  void AddRef() override { ++addRefs; }
  bool Release() override {
    ++releases;
    return false;
  }
  bool Parse(const wchar_t* text, double* value) override {
    ++calls;
    received = text;
    if (throws) {
      throw std::runtime_error("host converter failed");
    }
    if (accept) {
      *value = 1.25;
    }
    return accept;
  }

  int addRefs = 0;
  int releases = 0;
  int calls = 0;
  bool accept = true;
  bool throws = false;
  std::wstring received;
};

Plugin::Ref<Plugin::IAngleConverter> Wrap(Plugin::IAngleConverter* inner) {
  return Plugin::Ref<Plugin::IAngleConverter>::retain(new CAngleDMSConverter(inner));
}

TEST(AngleDmsConverter, InsertsSeparatorsByPositionAfterTheFirstPoint) {
  struct Case {
    const wchar_t* text;
    const wchar_t* passedOn;
  };
  // One wrapper for every row: its working text must not keep anything from a longer one,
  // on either side of the length that still fits on the stack.
  const Case cases[] = {
      {L"7777777777777777777777.123456", L"7777777777777777777777.12.34.56"},    // 29 characters
      {L"77777777777777777777777.123456", L"77777777777777777777777.12.34.56"},  // 30 characters
      {L"777777777777777777777777777777777777777777777777777777777.123456",
       L"777777777777777777777777777777777777777777777777777777777.12.34.56"},  // 64 characters
      {L"123.456789", L"123.45.67.89"},
      {L"12.3456", L"12.34.56"},
      {L"12.34567", L"12.34.56.7"},
      {L"-12.3456", L"-12.34.56"},
      {L"0.000000", L"0.00.00.00"},
      {L"1.2345678", L"1.23.45.678"},
      {L"12.34.56", L"12.34..5.6"},
      {L"1a.bcdefg", L"1a.bc.de.fg"},
      {L"+7.0102 x", L"+7.01.02. x"},
      // Trailing zeros of minutes and seconds left out: completed, not read as D.M or D.MMS.
      {L"12.305", L"12.30.50"},
      {L"12.3", L"12.30.00"},
      {L"12.30", L"12.30.00"},
      {L"12.", L"12.00.00"},
      {L"12", L"12.00.00"},
      {L"-12.3", L"-12.30.00"},
      {L"+12", L"+12.00.00"},
      {L"-0.5", L"-0.50.00"},
      {L"777777777777777777777777777777", L"777777777777777777777777777777.00.00"},
      {L"2.3", L"2.30.00"},  // after the longer rows: no stale character may follow
      // Not digits alone: passed on by position for the host to judge.
      {L"12.3a", L"12.3a"},
      {L"12.3a4", L"12.3a.4"},
      {L"1a.3", L"1a.3"},
      {L".5", L".5"},
      {L"-.5", L"-.5"},
      {L".", L"."},
      {L"12..", L"12.."},
  };
  InnerConverter inner;
  auto wrapper = Wrap(&inner);
  for (const Case& c : cases) {
    double value = 0.0;
    EXPECT_TRUE(wrapper->Parse(c.text, &value)) << m5test::ToUtf8(c.text);
    EXPECT_EQ(inner.received, c.passedOn) << m5test::ToUtf8(c.text);
    EXPECT_EQ(value, 1.25);
  }
}

TEST(AngleDmsConverter, FailsWithoutCallingTheHostWhenThereIsNothingToRewrite) {
  InnerConverter inner;
  auto wrapper = Wrap(&inner);
  for (const wchar_t* text : {L"", L"-", L"+", L"12,3456", L"1e5", L"12 "}) {
    double value = 7.0;
    EXPECT_FALSE(wrapper->Parse(text, &value)) << m5test::ToUtf8(text);
    EXPECT_EQ(value, 7.0);
  }
  double value = 7.0;
  EXPECT_FALSE(wrapper->Parse(nullptr, &value));
  EXPECT_EQ(inner.calls, 0);
}

TEST(AngleDmsConverter, ReturnsTheHostsVerdict) {
  InnerConverter inner;
  inner.accept = false;
  auto wrapper = Wrap(&inner);
  double value = 7.0;
  EXPECT_FALSE(wrapper->Parse(L"12.3456", &value));
  EXPECT_EQ(value, 7.0);
  EXPECT_EQ(inner.calls, 1);
}

TEST(AngleDmsConverter, AHostConverterThatThrowsReadsNothing) {
  InnerConverter inner;
  inner.throws = true;
  auto wrapper = Wrap(&inner);
  double value = 7.0;
  for (const wchar_t* text : {L"12.3456", L"777777777777777777777777777777777777.3"}) {
    EXPECT_FALSE(wrapper->Parse(text, &value)) << m5test::ToUtf8(text);
  }
  EXPECT_EQ(value, 7.0);
  EXPECT_EQ(inner.calls, 2);
}

TEST(AngleDmsConverter, WithoutAHostConverterNothingIsRead) {
  auto wrapper = Wrap(nullptr);
  double value = 7.0;
  EXPECT_FALSE(wrapper->Parse(L"12.3456", &value));
  EXPECT_EQ(value, 7.0);
}

TEST(AngleDmsConverter, HoldsOneReferenceOnTheHostConverterUntilItGoes) {
  InnerConverter inner;
  auto* wrapper = new CAngleDMSConverter(&inner);
  EXPECT_EQ(wrapper->RefCount(), 0);
  EXPECT_EQ(inner.addRefs, 1);

  wrapper->AddRef();
  wrapper->AddRef();
  EXPECT_FALSE(wrapper->Release());
  EXPECT_EQ(inner.releases, 0);
  EXPECT_TRUE(wrapper->Release());
  EXPECT_EQ(inner.addRefs, 1);
  EXPECT_EQ(inner.releases, 1);
}

}  // namespace
