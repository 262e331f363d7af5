#include "values/angle_dms_converter.h"

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
    if (accept) {
      *value = 1.25;
    }
    return accept;
  }

  int addRefs = 0;
  int releases = 0;
  int calls = 0;
  bool accept = true;
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
      {L"12.345", L"12.34.5"},
      {L"12.34", L"12.34"},
      {L"12.3", L"12.3"},
      {L"12.", L"12."},
      {L".5", L".5"},
      {L"-12.3456", L"-12.34.56"},
      {L"0.000000", L"0.00.00.00"},
      {L"1.2345678", L"1.23.45.678"},
      {L"12.34.56", L"12.34..5.6"},
      {L"1a.bcdefg", L"1a.bc.de.fg"},
      {L"+7.0102 x", L"+7.01.02. x"},
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
  for (const wchar_t* text : {L"123", L"", L"12,3456"}) {
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
