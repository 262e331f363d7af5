// A sink that takes every call and keeps nothing, and has no converter factory: the base
// of sinks that care about a few calls only (counting what an import names, timing one).
#pragma once

#include "sdk/host_interfaces.h"

namespace m5host {

class DiscardingSink : public IMeasurementSink {
 public:
  IConverterFactory* GetConverterFactory() override { return nullptr; }
  void BeginFile(const wchar_t*) override {}
  void SetCurrentLine(int) override {}
  void ReportWarning(const wchar_t*) override {}
  void ReportError(const wchar_t*) override {}
  void SetProgress(float) override {}
  void AddPoint(const wchar_t*) override {}
  void SetX(double) override {}
  void SetY(double) override {}
  void SetZ(double) override {}
  void SetPointKind(int) override {}
  void SetPointFlag(int) override {}
  void SetCode(const wchar_t*) override {}
  void AddStation(const wchar_t*) override {}
  void SetInstrumentHeight(double) override {}
  void AddTarget(const wchar_t*) override {}
  void SetPressure(double) override {}
  void SetTemperature(double) override {}
  void SetVerticalAngle(double) override {}
  void SetHorizontalDirection(double) override {}
  void SetTargetHeight(double) override {}
  void SetSlopeDistance(double) override {}
  void SetHorizontalDistance(double) override {}
  void SetHeightDifference(double) override {}
};

}  // namespace m5host
