// The reference host's trace: forwards every sink call to the host's own sink and writes
// it as one line of the trace format (host/trace_format.h).
#pragma once

#include <ostream>
#include <string>

#include "sdk/host_interfaces.h"

namespace m5host {

class TraceSink final : public IMeasurementSink {
 public:
  TraceSink(IMeasurementSink& inner, std::ostream& out) : m_inner(inner), m_out(out) {}

  // For calls that do not go through the sink (the converter factory's).
  void Line(const std::string& line) { m_out << line << '\n'; }

  IConverterFactory* GetConverterFactory() override;
  void BeginFile(const wchar_t* path) override;
  void SetCurrentLine(int line) override;
  void ReportWarning(const wchar_t* text) override;
  void ReportError(const wchar_t* text) override;
  void SetProgress(float percent) override;
  void AddPoint(const wchar_t* name) override;
  void SetX(double x) override;
  void SetY(double y) override;
  void SetZ(double z) override;
  void SetPointKind(int kind) override;
  void SetPointFlag(int flag) override;
  void SetCode(const wchar_t* code) override;
  void AddStation(const wchar_t* name) override;
  void SetInstrumentHeight(double height) override;
  void AddTarget(const wchar_t* name) override;
  void SetPressure(double pressure) override;
  void SetTemperature(double temperature) override;
  void SetVerticalAngle(double angle) override;
  void SetHorizontalDirection(double angle) override;
  void SetTargetHeight(double height) override;
  void SetSlopeDistance(double distance) override;
  void SetHorizontalDistance(double distance) override;
  void SetHeightDifference(double difference) override;

 private:
  IMeasurementSink& m_inner;
  std::ostream& m_out;
};

}  // namespace m5host
