#include "host/sinks/trace_sink.h"

#include "host/sinks/trace_format.h"

namespace m5host {

template <class Argument>
void TraceSink::Pass(const char* call, Argument argument,
                     void (IMeasurementSink::*operation)(Argument)) {
  m_write(TraceLine(call, argument));
  if (m_next != nullptr) {
    (m_next->*operation)(argument);
  }
}

void TraceSink::FactoryLine(std::string line) {
  if (m_factoryLines == TraceLines::Written) {
    m_write(std::move(line));
  }
}

IConverterFactory* TraceSink::GetConverterFactory() {
  FactoryLine("GetConverterFactory()");
  return m_next != nullptr ? m_next->GetConverterFactory() : nullptr;
}

void TraceSink::SetCurrentLine(int line) {
  if (m_progressLines == TraceLines::Written) {
    m_write(TraceLine("SetCurrentLine", line));
  }
  if (m_next != nullptr) {
    m_next->SetCurrentLine(line);
  }
}

void TraceSink::SetProgress(float percent) {
  if (m_progressLines == TraceLines::Written) {
    m_write(TraceLine("SetProgress", percent));
  }
  if (m_next != nullptr) {
    m_next->SetProgress(percent);
  }
}

void TraceSink::BeginFile(const wchar_t* path) {
  Pass("BeginFile", path, &IMeasurementSink::BeginFile);
}
void TraceSink::ReportWarning(const wchar_t* text) {
  Pass("ReportWarning", text, &IMeasurementSink::ReportWarning);
}
void TraceSink::ReportError(const wchar_t* text) {
  Pass("ReportError", text, &IMeasurementSink::ReportError);
}
void TraceSink::AddPoint(const wchar_t* name) {
  Pass("AddPoint", name, &IMeasurementSink::AddPoint);
}
void TraceSink::SetX(double x) {
  Pass("SetX", x, &IMeasurementSink::SetX);
}
void TraceSink::SetY(double y) {
  Pass("SetY", y, &IMeasurementSink::SetY);
}
void TraceSink::SetZ(double z) {
  Pass("SetZ", z, &IMeasurementSink::SetZ);
}
void TraceSink::SetPointKind(int kind) {
  Pass("SetPointKind", kind, &IMeasurementSink::SetPointKind);
}
void TraceSink::SetPointFlag(int flag) {
  Pass("SetPointFlag", flag, &IMeasurementSink::SetPointFlag);
}
void TraceSink::SetCode(const wchar_t* code) {
  Pass("SetCode", code, &IMeasurementSink::SetCode);
}
void TraceSink::AddStation(const wchar_t* name) {
  Pass("AddStation", name, &IMeasurementSink::AddStation);
}
void TraceSink::SetInstrumentHeight(double height) {
  Pass("SetInstrumentHeight", height, &IMeasurementSink::SetInstrumentHeight);
}
void TraceSink::AddTarget(const wchar_t* name) {
  Pass("AddTarget", name, &IMeasurementSink::AddTarget);
}
void TraceSink::SetPressure(double pressure) {
  Pass("SetPressure", pressure, &IMeasurementSink::SetPressure);
}
void TraceSink::SetTemperature(double temperature) {
  Pass("SetTemperature", temperature, &IMeasurementSink::SetTemperature);
}
void TraceSink::SetVerticalAngle(double angle) {
  Pass("SetVerticalAngle", angle, &IMeasurementSink::SetVerticalAngle);
}
void TraceSink::SetHorizontalDirection(double angle) {
  Pass("SetHorizontalDirection", angle, &IMeasurementSink::SetHorizontalDirection);
}
void TraceSink::SetTargetHeight(double height) {
  Pass("SetTargetHeight", height, &IMeasurementSink::SetTargetHeight);
}
void TraceSink::SetSlopeDistance(double distance) {
  Pass("SetSlopeDistance", distance, &IMeasurementSink::SetSlopeDistance);
}
void TraceSink::SetHorizontalDistance(double distance) {
  Pass("SetHorizontalDistance", distance, &IMeasurementSink::SetHorizontalDistance);
}
void TraceSink::SetHeightDifference(double difference) {
  Pass("SetHeightDifference", difference, &IMeasurementSink::SetHeightDifference);
}

}  // namespace m5host
