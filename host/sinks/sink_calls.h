// Every call of the sink by its name in the trace, handed to one handler per argument type
// together with the call itself, so a sink that writes or passes on calls names each once.
// It needs no library, so the Microsoft-ABI test host, built without one, names its calls
// the same way.
#pragma once

#include "sdk/host_interfaces.h"

namespace m5host {

// Sink derives from SinkCalls<Sink> and has, for each argument type A (const wchar_t*,
// double, int, float), void Call(const char* name, A argument,
// void (IMeasurementSink::*call)(A)). GetConverterFactory is the sink's own.
template <class Sink>
class SinkCalls : public IMeasurementSink {
 public:
  void BeginFile(const wchar_t* path) override {
    Self().Call("BeginFile", path, &IMeasurementSink::BeginFile);
  }
  void SetCurrentLine(int line) override {
    Self().Call("SetCurrentLine", line, &IMeasurementSink::SetCurrentLine);
  }
  void ReportWarning(const wchar_t* text) override {
    Self().Call("ReportWarning", text, &IMeasurementSink::ReportWarning);
  }
  void ReportError(const wchar_t* text) override {
    Self().Call("ReportError", text, &IMeasurementSink::ReportError);
  }
  void SetProgress(float percent) override {
    Self().Call("SetProgress", percent, &IMeasurementSink::SetProgress);
  }
  void AddPoint(const wchar_t* name) override {
    Self().Call("AddPoint", name, &IMeasurementSink::AddPoint);
  }
  void SetX(double x) override { Self().Call("SetX", x, &IMeasurementSink::SetX); }
  void SetY(double y) override { Self().Call("SetY", y, &IMeasurementSink::SetY); }
  void SetZ(double z) override { Self().Call("SetZ", z, &IMeasurementSink::SetZ); }
  void SetPointKind(int kind) override {
    Self().Call("SetPointKind", kind, &IMeasurementSink::SetPointKind);
  }
  void SetPointFlag(int flag) override {
    Self().Call("SetPointFlag", flag, &IMeasurementSink::SetPointFlag);
  }
  void SetCode(const wchar_t* code) override {
    Self().Call("SetCode", code, &IMeasurementSink::SetCode);
  }
  void AddStation(const wchar_t* name) override {
    Self().Call("AddStation", name, &IMeasurementSink::AddStation);
  }
  void SetInstrumentHeight(double height) override {
    Self().Call("SetInstrumentHeight", height, &IMeasurementSink::SetInstrumentHeight);
  }
  void AddTarget(const wchar_t* name) override {
    Self().Call("AddTarget", name, &IMeasurementSink::AddTarget);
  }
  void SetPressure(double pressure) override {
    Self().Call("SetPressure", pressure, &IMeasurementSink::SetPressure);
  }
  void SetTemperature(double temperature) override {
    Self().Call("SetTemperature", temperature, &IMeasurementSink::SetTemperature);
  }
  void SetVerticalAngle(double angle) override {
    Self().Call("SetVerticalAngle", angle, &IMeasurementSink::SetVerticalAngle);
  }
  void SetHorizontalDirection(double angle) override {
    Self().Call("SetHorizontalDirection", angle, &IMeasurementSink::SetHorizontalDirection);
  }
  void SetTargetHeight(double height) override {
    Self().Call("SetTargetHeight", height, &IMeasurementSink::SetTargetHeight);
  }
  void SetSlopeDistance(double distance) override {
    Self().Call("SetSlopeDistance", distance, &IMeasurementSink::SetSlopeDistance);
  }
  void SetHorizontalDistance(double distance) override {
    Self().Call("SetHorizontalDistance", distance, &IMeasurementSink::SetHorizontalDistance);
  }
  void SetHeightDifference(double difference) override {
    Self().Call("SetHeightDifference", difference, &IMeasurementSink::SetHeightDifference);
  }

 private:
  Sink& Self() { return static_cast<Sink&>(*this); }
};

}  // namespace m5host
