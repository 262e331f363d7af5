// A sink that counts what an import names instead of recording every call, for surveys
// too large to trace. Which converters it hands out is left to the one who derives.
#pragma once

#include "sdk/host_interfaces.h"

namespace m5test {

class CountingSink : public IMeasurementSink {
 public:
  void BeginFile(const wchar_t*) override {}
  void SetCurrentLine(int) override {}
  void ReportWarning(const wchar_t*) override { ++messages; }
  void ReportError(const wchar_t*) override { ++messages; }
  void SetProgress(float) override {}
  void AddPoint(const wchar_t*) override { ++points; }
  void SetX(double) override {}
  void SetY(double) override {}
  void SetZ(double) override {}
  void SetPointKind(int) override {}
  void SetPointFlag(int) override {}
  void SetCode(const wchar_t*) override {}
  void AddStation(const wchar_t*) override { ++stations; }
  void SetInstrumentHeight(double) override {}
  void AddTarget(const wchar_t*) override { ++points; }
  void SetPressure(double) override {}
  void SetTemperature(double) override {}
  void SetVerticalAngle(double) override {}
  void SetHorizontalDirection(double) override {}
  void SetTargetHeight(double) override {}
  void SetSlopeDistance(double) override {}
  void SetHorizontalDistance(double) override {}
  void SetHeightDifference(double) override {}

  long messages = 0;
  long points = 0;
  long stations = 0;
};

}  // namespace m5test
