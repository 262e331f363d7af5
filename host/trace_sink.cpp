#include "host/trace_sink.h"

#include <charconv>
#include <cstdio>

#include "host/text_encoding.h"

namespace m5host {

std::string FormatDouble(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string FormatFloat(float value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string QuoteText(const wchar_t* text) {
  if (text == nullptr) {
    return "null";
  }
  std::string out = "\"";
  for (const char c : ToUtf8(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

IConverterFactory* TraceSink::GetConverterFactory() {
  Line("GetConverterFactory()");
  return m_inner.GetConverterFactory();
}

void TraceSink::BeginFile(const wchar_t* path) {
  Line("BeginFile(" + QuoteText(path) + ")");
  m_inner.BeginFile(path);
}
void TraceSink::SetCurrentLine(int line) {
  Line("SetCurrentLine(" + std::to_string(line) + ")");
  m_inner.SetCurrentLine(line);
}
void TraceSink::ReportWarning(const wchar_t* text) {
  Line("ReportWarning(" + QuoteText(text) + ")");
  m_inner.ReportWarning(text);
}
void TraceSink::ReportError(const wchar_t* text) {
  Line("ReportError(" + QuoteText(text) + ")");
  m_inner.ReportError(text);
}
void TraceSink::SetProgress(float percent) {
  Line("SetProgress(" + FormatFloat(percent) + ")");
  m_inner.SetProgress(percent);
}
void TraceSink::AddPoint(const wchar_t* name) {
  Line("AddPoint(" + QuoteText(name) + ")");
  m_inner.AddPoint(name);
}
void TraceSink::SetX(double x) {
  Line("SetX(" + FormatDouble(x) + ")");
  m_inner.SetX(x);
}
void TraceSink::SetY(double y) {
  Line("SetY(" + FormatDouble(y) + ")");
  m_inner.SetY(y);
}
void TraceSink::SetZ(double z) {
  Line("SetZ(" + FormatDouble(z) + ")");
  m_inner.SetZ(z);
}
void TraceSink::SetPointKind(int kind) {
  Line("SetPointKind(" + std::to_string(kind) + ")");
  m_inner.SetPointKind(kind);
}
void TraceSink::SetPointFlag(int flag) {
  Line("SetPointFlag(" + std::to_string(flag) + ")");
  m_inner.SetPointFlag(flag);
}
void TraceSink::SetCode(const wchar_t* code) {
  Line("SetCode(" + QuoteText(code) + ")");
  m_inner.SetCode(code);
}
void TraceSink::AddStation(const wchar_t* name) {
  Line("AddStation(" + QuoteText(name) + ")");
  m_inner.AddStation(name);
}
void TraceSink::SetInstrumentHeight(double height) {
  Line("SetInstrumentHeight(" + FormatDouble(height) + ")");
  m_inner.SetInstrumentHeight(height);
}
void TraceSink::AddTarget(const wchar_t* name) {
  Line("AddTarget(" + QuoteText(name) + ")");
  m_inner.AddTarget(name);
}
void TraceSink::SetPressure(double pressure) {
  Line("SetPressure(" + FormatDouble(pressure) + ")");
  m_inner.SetPressure(pressure);
}
void TraceSink::SetTemperature(double temperature) {
  Line("SetTemperature(" + FormatDouble(temperature) + ")");
  m_inner.SetTemperature(temperature);
}
void TraceSink::SetVerticalAngle(double angle) {
  Line("SetVerticalAngle(" + FormatDouble(angle) + ")");
  m_inner.SetVerticalAngle(angle);
}
void TraceSink::SetHorizontalDirection(double angle) {
  Line("SetHorizontalDirection(" + FormatDouble(angle) + ")");
  m_inner.SetHorizontalDirection(angle);
}
void TraceSink::SetTargetHeight(double height) {
  Line("SetTargetHeight(" + FormatDouble(height) + ")");
  m_inner.SetTargetHeight(height);
}
void TraceSink::SetSlopeDistance(double distance) {
  Line("SetSlopeDistance(" + FormatDouble(distance) + ")");
  m_inner.SetSlopeDistance(distance);
}
void TraceSink::SetHorizontalDistance(double distance) {
  Line("SetHorizontalDistance(" + FormatDouble(distance) + ")");
  m_inner.SetHorizontalDistance(distance);
}
void TraceSink::SetHeightDifference(double difference) {
  Line("SetHeightDifference(" + FormatDouble(difference) + ")");
  m_inner.SetHeightDifference(difference);
}

}  // namespace m5host
