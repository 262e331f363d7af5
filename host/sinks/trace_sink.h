// The trace: writes every sink call as one line of the trace format (host/trace_format.h)
// and passes it on to the next sink, if any. The reference host's --format trace and the
// tests' recording sink both are this sink, so a trace is written one way only.
#pragma once

#include <functional>
#include <string>

#include "sdk/host_interfaces.h"

namespace m5host {

// Whether a kind of line appears in the trace; the call is passed on either way.
enum class TraceLines { Written, Omitted };

class TraceSink : public IMeasurementSink {
 public:
  using LineWriter = std::function<void(std::string line)>;

  // next may be null: then the calls end here and there is no converter factory.
  TraceSink(LineWriter write, IMeasurementSink* next) : m_write(std::move(write)), m_next(next) {}

  // Lines of the converter factory's calls, and GetConverterFactory's own.
  void FactoryLine(std::string line);
  // SetCurrentLine and SetProgress, which clutter a trace of parsed records.
  void ProgressLines(TraceLines lines) { m_progressLines = lines; }
  void FactoryLines(TraceLines lines) { m_factoryLines = lines; }

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
  // Writes the line, then hands the call to the next sink.
  template <class Argument>
  void Pass(const char* call, Argument argument, void (IMeasurementSink::*operation)(Argument));

  LineWriter m_write;
  IMeasurementSink* m_next;
  TraceLines m_progressLines = TraceLines::Written;
  TraceLines m_factoryLines = TraceLines::Written;
};

}  // namespace m5host
