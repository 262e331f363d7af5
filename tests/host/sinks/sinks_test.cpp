#include <gtest/gtest.h>

#include "host/sinks/collecting_sink.h"
#include "host/sinks/trace_sink.h"

namespace m5host {
namespace {

// The same calls, in the same order, on any sink.
void PlaySurvey(IMeasurementSink& sink) {
  sink.BeginFile(L"C:\\jobs\\day \"1\".dat");
  sink.SetCurrentLine(0);
  sink.ReportWarning(L"Не определена точка стояния.\nПо умолчанию создается станция.");
  sink.SetProgress(100.0f / 3.0f);
  sink.AddStation(L"S1");
  sink.SetPressure(1013.25);
  sink.SetTemperature(-0.1);
  sink.SetInstrumentHeight(1.5);
  sink.SetPointKind(1);
  sink.AddTarget(L"A\t1");
  sink.SetHorizontalDirection(6.283185307179586);
  sink.SetVerticalAngle(1e-300);
  sink.AddPoint(L"101");
  sink.SetCode(L"KERB");
  sink.SetPointFlag(0);
  sink.SetX(1000.5);
  sink.SetY(-0.0);
  sink.SetZ(1.7976931348623157e308);
  sink.SetSlopeDistance(12.345);
  sink.SetHorizontalDistance(12.3);
  sink.SetHeightDifference(-0.25);
  sink.SetTargetHeight(1.6);
  sink.SetCurrentLine(-1);
  sink.ReportError(L"\x01 back\\slash");
}

TEST(CollectingSink, GroupsObservationsUnderTheirStationAndKeepsMessageLines) {
  HostConverterFactory factory;
  CollectingSink sink(factory);
  // Through the trace, as --format trace runs: every call must reach the collector.
  int lines = 0;
  TraceSink trace([&lines](const std::string&) { ++lines; }, &sink);
  PlaySurvey(trace);
  EXPECT_EQ(lines, 24);
  sink.BeginFile(L"second.dat");
  sink.AddPoint(L"early");  // before any station: a set-up without one
  sink.SetX(1);

  ASSERT_EQ(sink.Files().size(), 2u);
  const FileSurvey& first = sink.Files()[0];
  EXPECT_EQ(first.path, "C:\\jobs\\day \"1\".dat");
  ASSERT_EQ(first.setups.size(), 1u);
  const StationSetup& setup = first.setups[0];
  ASSERT_TRUE(setup.station);
  EXPECT_EQ(setup.station->name, "S1");
  EXPECT_EQ(setup.station->pressure, 1013.25);
  EXPECT_EQ(setup.station->kind, 1);
  ASSERT_EQ(setup.observations.size(), 2u);
  EXPECT_EQ(setup.observations[0].role, Role::Target);
  EXPECT_EQ(setup.observations[1].code, "KERB");
  EXPECT_EQ(setup.observations[1].flag, 0);
  EXPECT_EQ(setup.observations[1].targetHeight, 1.6);
  EXPECT_FALSE(setup.observations[0].x);

  ASSERT_EQ(first.messages.size(), 2u);
  EXPECT_EQ(LineLabel(first.messages[0].line), "1");
  EXPECT_EQ(first.messages[0].severity, Severity::Warning);
  EXPECT_EQ(LineLabel(first.messages[1].line), "file");
  EXPECT_EQ(sink.ErrorCount(), 1);

  const FileSurvey& second = sink.Files()[1];
  ASSERT_EQ(second.setups.size(), 1u);
  EXPECT_FALSE(second.setups[0].station);
  EXPECT_EQ(second.setups[0].observations[0].x, 1.0);
  EXPECT_TRUE(second.messages.empty());  // the line index does not carry over
}

TEST(CollectingSink, ValuesBeforeAnyPointAreCountedNotLost) {
  HostConverterFactory factory;
  CollectingSink sink(factory);
  sink.SetX(1);
  sink.SetCode(L"A");
  sink.ReportError(L"before any file");
  EXPECT_EQ(sink.StrayValues(), 2);
  ASSERT_EQ(sink.Files().size(), 1u);
  EXPECT_EQ(sink.Files()[0].messages.size(), 1u);
  EXPECT_EQ(LineLabel(2147483647 - 1), "2147483647");
  EXPECT_EQ(LineLabel(2147483647), "2147483648");
}

}  // namespace
}  // namespace m5host
