#include "values/converter_state.h"

#include <climits>
#include <locale>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/recording_host.h"
#include "values/field_tables.h"

namespace {

using m5::Quantity;
using Calls = std::vector<std::string>;

// One data block read the way the parser reads it: split, look up the type code, select
// the unit, then convert the value with the quantity's current converter.
struct Reading {
  int typeIndex = -1;
  int unitIndex = -1;
  std::optional<double> value;
};

class BlockReader {
 public:
  explicit BlockReader(IMeasurementSink* sink) : m_state(sink) {}

  Reading Read(const std::wstring& block) {
    Reading reading;
    const m5::DataBlockFields parts = m5::SplitDataBlockFields(block, m_isSpace);
    reading.typeIndex = m_tables.TypeCodeIndex(parts.typeCode);
    reading.unitIndex = m_tables.UnitIndex(parts.unit);
    m_state.SelectUnit(reading.unitIndex);
    const Quantity quantity = m5::QuantityOfType(reading.typeIndex);
    if (parts.value.empty() || quantity == Quantity::None) {
      return reading;
    }
    double value = 0.0;
    if (m_state.Parse(quantity, std::wstring(parts.value), value)) {
      reading.value = value;
    }
    return reading;
  }

  m5::CConverterState& State() { return m_state; }

 private:
  std::locale m_locale;
  m5::CWhiteSpace m_isSpace{std::use_facet<std::ctype<wchar_t>>(m_locale)};
  m5::CFieldTables m_tables;
  m5::CConverterState m_state;
};

// Every test ends with the reader gone and every reference the host handed out given back
// exactly once.
class ConverterState : public ::testing::Test {
 protected:
  void SetUp() override {
    m_reader = std::make_unique<BlockReader>(&m_sink);
    m_sink.ClearCalls();
  }
  void TearDown() override {
    m_reader.reset();
    EXPECT_EQ(m_sink.OutstandingReferences(), 0);
    EXPECT_EQ(m_sink.OverReleases(), 0);
  }

  Reading Read(const wchar_t* block) { return m_reader->Read(block); }

  m5test::RecordingSink m_sink;
  std::unique_ptr<BlockReader> m_reader;
};

TEST(ConverterStateSetup, AsksForTheFactoryThenTheInitialConvertersInOrder) {
  m5test::RecordingSink sink;
  {
    m5::CConverterState state(&sink);
    EXPECT_EQ(sink.Calls(),
              (Calls{"GetConverterFactory()", "factory.GetLengthConverter(1)",
                     "factory.GetAngleConverter(3)", "factory.GetPressureConverter(1)",
                     "factory.GetTemperatureConverter(1)"}));
    EXPECT_EQ(sink.OutstandingReferences(), 5);
  }
  EXPECT_EQ(sink.OutstandingReferences(), 0);
  EXPECT_EQ(sink.OverReleases(), 0);
}

TEST_F(ConverterState, EveryUnitAsksTheFactoryForItsConverter) {
  struct Case {
    const wchar_t* block;
    const char* call;
  };
  const Case cases[] = {
      {L"Hz 1 gon", "factory.GetAngleConverter(4)"},
      {L"Hz 1 DEG", "factory.GetAngleConverter(3)"},
      {L"Hz 1.0000 DMS", "factory.GetAngleConverter(1)"},
      {L"Hz 1 mil", "factory.GetAngleConverter(5)"},
      {L"Hz 1 grad", "factory.GetAngleConverter(4)"},
      {L"SD 1 m", "factory.GetLengthConverter(0)"},
      {L"SD 1 ft", "factory.GetLengthConverter(1)"},
      {L"P 1 Torr", "factory.GetPressureConverter(0)"},
      {L"P 1 hPa", "factory.GetPressureConverter(1)"},
      {L"P 1 inHg", "factory.GetPressureConverter(2)"},
      {L"T 1 C", "factory.GetTemperatureConverter(0)"},
      {L"T 1 F", "factory.GetTemperatureConverter(1)"},
      {L"Hz 1 grd", "factory.GetAngleConverter(4)"},
      {L"T 1 \u00B0C", "factory.GetTemperatureConverter(0)"},
      {L"P 1 mmHg", "factory.GetPressureConverter(0)"},
      // Case is no part of a unit's name.
      {L"Hz 1 deg", "factory.GetAngleConverter(3)"},
      {L"Hz 1.0000 dms", "factory.GetAngleConverter(1)"},
      {L"Hz 1 GON", "factory.GetAngleConverter(4)"},
      {L"SD 1 M", "factory.GetLengthConverter(0)"},
      {L"SD 1 FT", "factory.GetLengthConverter(1)"},
      {L"P 1 hpa", "factory.GetPressureConverter(1)"},
      {L"P 1 MMHG", "factory.GetPressureConverter(0)"},
      {L"T 1 f", "factory.GetTemperatureConverter(1)"},
      {L"T 1 \u00B0c", "factory.GetTemperatureConverter(0)"},
  };
  for (const Case& c : cases) {
    m_sink.ClearCalls();
    const Reading reading = Read(c.block);
    EXPECT_EQ(m_sink.Calls(), Calls{c.call}) << m5test::ToUtf8(c.block);
    EXPECT_EQ(reading.value, 1.0) << m5test::ToUtf8(c.block);
    // The replaced converter was released: still one reference per quantity and the factory.
    EXPECT_EQ(m_sink.OutstandingReferences(), 5) << m5test::ToUtf8(c.block);
  }
}

TEST_F(ConverterState, UnitsOutsideTheTableChangeNothing) {
  for (const wchar_t* block : {L"Z 1.0 degr", L"Z 1.0 mm", L"Z 1.0", L"Z 1.0 Meter", L"Hz 1 d"}) {
    const Reading reading = Read(block);
    EXPECT_EQ(reading.unitIndex, -1) << m5test::ToUtf8(block);
    EXPECT_EQ(reading.value, 1.0) << m5test::ToUtf8(block);
  }
  for (int index : {-1, 15, INT_MIN, INT_MAX}) {
    m_reader->State().SelectUnit(index);
  }
  EXPECT_TRUE(m_sink.Calls().empty());
}

TEST_F(ConverterState, BlocksReadTheirValueWithTheirOwnUnit) {
  const Reading sd = Read(L"SD        12.345 m   ");
  EXPECT_EQ(sd.typeIndex, 15);
  EXPECT_EQ(sd.unitIndex, 5);
  EXPECT_EQ(sd.value, 12.345);

  const Reading x = Read(L"X 100.000");
  EXPECT_EQ(x.typeIndex, 6);
  EXPECT_EQ(x.value, 100.0);

  const Reading hz = Read(L"Hz");
  EXPECT_EQ(hz.typeIndex, 19);
  EXPECT_FALSE(hz.value);

  EXPECT_EQ(m_sink.Calls(), Calls{"factory.GetLengthConverter(0)"});
}

TEST_F(ConverterState, AUnitStaysInForceUntilAnotherOfItsQuantityReplacesIt) {
  EXPECT_EQ(Read(L"T 20 F").value, 20.0);
  EXPECT_EQ(Read(L"P 1000 hPa").value, 1000.0);
  EXPECT_EQ(Read(L"T 25").value, 25.0);
  EXPECT_EQ(m_sink.Calls(),
            (Calls{"factory.GetTemperatureConverter(1)", "factory.GetPressureConverter(1)"}));
}

TEST_F(ConverterState, TheFactoryIsAskedAgainForTheSameUnit) {
  Read(L"SD 1 m");
  Read(L"SD 2 m");
  EXPECT_EQ(m_sink.Calls(),
            (Calls{"factory.GetLengthConverter(0)", "factory.GetLengthConverter(0)"}));
  EXPECT_EQ(m_sink.ConvertersCreated(), 6);
  EXPECT_EQ(m_sink.OutstandingReferences(), 5);
}

TEST_F(ConverterState, AUnitOfAnotherQuantityDoesNotChangeHowTheValueIsRead) {
  // The D.MMSS reading shows which angle converter is in force.
  Read(L"Hz 0 DMS");
  const Reading sd = Read(L"SD 12.3000 gon");
  EXPECT_EQ(sd.value, 12.3);
  EXPECT_EQ(Read(L"V1 12.3000").value, 12.3);
  EXPECT_EQ(m_sink.Calls(),
            (Calls{"factory.GetAngleConverter(1)", "factory.GetAngleConverter(4)"}));
}

TEST_F(ConverterState, DmsReadsThroughTheWrapperUntilAnotherAngleUnit) {
  EXPECT_EQ(Read(L"V1        12.3000 DMS ").value, 12.5);
  EXPECT_EQ(Read(L"Hz 90.1500").value, 90.25);
  // Minutes and seconds whose trailing zeros the file left out.
  EXPECT_EQ(Read(L"Hz 12.3").value, 12.5);
  EXPECT_EQ(Read(L"Hz -12.3").value, -12.5);
  EXPECT_EQ(Read(L"Hz 12").value, 12.0);
  EXPECT_EQ(Read(L"Hz 12.").value, 12.0);
  EXPECT_DOUBLE_EQ(Read(L"Hz 12.305").value.value_or(0.0), 12.0 + 30.0 / 60.0 + 50.0 / 3600.0);
  EXPECT_EQ(m_sink.OutstandingReferences(), 5);
  EXPECT_EQ(Read(L"V1 12.3000 gon").value, 12.3);
  EXPECT_EQ(m_sink.Calls(),
            (Calls{"factory.GetAngleConverter(1)", "factory.GetAngleConverter(4)"}));
}

TEST_F(ConverterState, TypesOutsideTheValuesStillSelectTheirUnit) {
  EXPECT_FALSE(Read(L"PI 12 m").value);
  EXPECT_FALSE(Read(L"ZZ 12 ft").value);
  EXPECT_FALSE(Read(L"Hz abc DEG").value);
  EXPECT_EQ(m_sink.Calls(), (Calls{"factory.GetLengthConverter(0)", "factory.GetLengthConverter(1)",
                                   "factory.GetAngleConverter(3)"}));
}

TEST(ConverterStateSetup, WithoutAFactoryNothingIsRead) {
  m5test::RecordingSink sink;
  sink.WithoutFactory();
  BlockReader reader(&sink);
  for (int index = 0; index < m5::kUnitCount; ++index) {
    reader.State().SelectUnit(index);
  }
  for (const wchar_t* block : {L"SD 1 m", L"Hz 1.0000 DMS", L"T 1", L"P 1"}) {
    EXPECT_FALSE(reader.Read(block).value) << m5test::ToUtf8(block);
  }
  EXPECT_EQ(sink.Calls(), Calls{"GetConverterFactory()"});
}

// A host whose factory has no converter for any unit.
class EmptyFactory : public IConverterFactory {
 public:
  void AddRef() override { ++references; }
  bool Release() override { return --references == 0; }
  Plugin::IAngleConverter* GetAngleConverter(int) override { return nullptr; }
  IValueConverter* GetLengthConverter(int) override { return nullptr; }
  IValueConverter* GetPressureConverter(int) override { return nullptr; }
  IValueConverter* GetTemperatureConverter(int) override { return nullptr; }
  int references = 0;
};

class EmptyFactorySink : public m5test::RecordingSink {
 public:
  IConverterFactory* GetConverterFactory() override {
    factory.AddRef();
    return &factory;
  }
  EmptyFactory factory;
};

TEST(ConverterStateSetup, MissingConvertersReadNothing) {
  EmptyFactorySink sink;
  {
    BlockReader reader(&sink);
    for (const wchar_t* block : {L"SD 1 m", L"Hz 1", L"Hz 1.0000 DMS", L"T 1 C", L"P 1"}) {
      EXPECT_FALSE(reader.Read(block).value) << m5test::ToUtf8(block);
    }
    for (Quantity quantity : {Quantity::None, Quantity::Angle, Quantity::Length}) {
      double value = 7.0;
      EXPECT_FALSE(reader.State().Parse(quantity, L"1", value));
    }
    EXPECT_EQ(sink.factory.references, 1);
  }
  EXPECT_EQ(sink.factory.references, 0);
}

}  // namespace
