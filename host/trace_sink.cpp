#include "host/trace_sink.h"

#include "host/trace_format.h"

namespace m5host {

IConverterFactory* TraceSink::GetConverterFactory() {
  Line("GetConverterFactory()");
  return m_inner.GetConverterFactory();
}

void TraceSink::BeginFile(const wchar_t* path) {
  Line(TraceLine("BeginFile", path));
  m_inner.BeginFile(path);
}
void TraceSink::SetCurrentLine(int line) {
  Line(TraceLine("SetCurrentLine", line));
  m_inner.SetCurrentLine(line);
}
void TraceSink::ReportWarning(const wchar_t* text) {
  Line(TraceLine("ReportWarning", text));
  m_inner.ReportWarning(text);
}
void TraceSink::ReportError(const wchar_t* text) {
  Line(TraceLine("ReportError", text));
  m_inner.ReportError(text);
}
void TraceSink::SetProgress(float percent) {
  Line(TraceLine("SetProgress", percent));
  m_inner.SetProgress(percent);
}
void TraceSink::AddPoint(const wchar_t* name) {
  Line(TraceLine("AddPoint", name));
  m_inner.AddPoint(name);
}
void TraceSink::SetX(double x) {
  Line(TraceLine("SetX", x));
  m_inner.SetX(x);
}
void TraceSink::SetY(double y) {
  Line(TraceLine("SetY", y));
  m_inner.SetY(y);
}
void TraceSink::SetZ(double z) {
  Line(TraceLine("SetZ", z));
  m_inner.SetZ(z);
}
void TraceSink::SetPointKind(int kind) {
  Line(TraceLine("SetPointKind", kind));
  m_inner.SetPointKind(kind);
}
void TraceSink::SetPointFlag(int flag) {
  Line(TraceLine("SetPointFlag", flag));
  m_inner.SetPointFlag(flag);
}
void TraceSink::SetCode(const wchar_t* code) {
  Line(TraceLine("SetCode", code));
  m_inner.SetCode(code);
}
void TraceSink::AddStation(const wchar_t* name) {
  Line(TraceLine("AddStation", name));
  m_inner.AddStation(name);
}
void TraceSink::SetInstrumentHeight(double height) {
  Line(TraceLine("SetInstrumentHeight", height));
  m_inner.SetInstrumentHeight(height);
}
void TraceSink::AddTarget(const wchar_t* name) {
  Line(TraceLine("AddTarget", name));
  m_inner.AddTarget(name);
}
void TraceSink::SetPressure(double pressure) {
  Line(TraceLine("SetPressure", pressure));
  m_inner.SetPressure(pressure);
}
void TraceSink::SetTemperature(double temperature) {
  Line(TraceLine("SetTemperature", temperature));
  m_inner.SetTemperature(temperature);
}
void TraceSink::SetVerticalAngle(double angle) {
  Line(TraceLine("SetVerticalAngle", angle));
  m_inner.SetVerticalAngle(angle);
}
void TraceSink::SetHorizontalDirection(double angle) {
  Line(TraceLine("SetHorizontalDirection", angle));
  m_inner.SetHorizontalDirection(angle);
}
void TraceSink::SetTargetHeight(double height) {
  Line(TraceLine("SetTargetHeight", height));
  m_inner.SetTargetHeight(height);
}
void TraceSink::SetSlopeDistance(double distance) {
  Line(TraceLine("SetSlopeDistance", distance));
  m_inner.SetSlopeDistance(distance);
}
void TraceSink::SetHorizontalDistance(double distance) {
  Line(TraceLine("SetHorizontalDistance", distance));
  m_inner.SetHorizontalDistance(distance);
}
void TraceSink::SetHeightDifference(double difference) {
  Line(TraceLine("SetHeightDifference", difference));
  m_inner.SetHeightDifference(difference);
}

}  // namespace m5host
