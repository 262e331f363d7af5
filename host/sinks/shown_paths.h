// Passes every sink call on, but shows a file the user named differently from the path the
// plug-in read (standard input, copied to a temporary file) under the user's name.
#pragma once

#include <string>
#include <utility>

#include "sdk/host_interfaces.h"

namespace m5host {

class ShownPaths final : public IMeasurementSink {
 public:
  // Calls go on to next; a file read from readPath begins as shownPath.
  ShownPaths(IMeasurementSink& next, std::wstring readPath, std::wstring shownPath)
      : m_next(next), m_readPath(std::move(readPath)), m_shownPath(std::move(shownPath)) {}

  void BeginFile(const wchar_t* path) override {
    const bool renamed = path != nullptr && !m_readPath.empty() && m_readPath == path;
    m_next.BeginFile(renamed ? m_shownPath.c_str() : path);
  }

  IConverterFactory* GetConverterFactory() override { return m_next.GetConverterFactory(); }
  void SetCurrentLine(int line) override { m_next.SetCurrentLine(line); }
  void ReportWarning(const wchar_t* text) override { m_next.ReportWarning(text); }
  void ReportError(const wchar_t* text) override { m_next.ReportError(text); }
  void SetProgress(float percent) override { m_next.SetProgress(percent); }
  void AddPoint(const wchar_t* name) override { m_next.AddPoint(name); }
  void SetX(double x) override { m_next.SetX(x); }
  void SetY(double y) override { m_next.SetY(y); }
  void SetZ(double z) override { m_next.SetZ(z); }
  void SetPointKind(int kind) override { m_next.SetPointKind(kind); }
  void SetPointFlag(int flag) override { m_next.SetPointFlag(flag); }
  void SetCode(const wchar_t* code) override { m_next.SetCode(code); }
  void AddStation(const wchar_t* name) override { m_next.AddStation(name); }
  void SetInstrumentHeight(double height) override { m_next.SetInstrumentHeight(height); }
  void AddTarget(const wchar_t* name) override { m_next.AddTarget(name); }
  void SetPressure(double pressure) override { m_next.SetPressure(pressure); }
  void SetTemperature(double temperature) override { m_next.SetTemperature(temperature); }
  void SetVerticalAngle(double angle) override { m_next.SetVerticalAngle(angle); }
  void SetHorizontalDirection(double angle) override { m_next.SetHorizontalDirection(angle); }
  void SetTargetHeight(double height) override { m_next.SetTargetHeight(height); }
  void SetSlopeDistance(double distance) override { m_next.SetSlopeDistance(distance); }
  void SetHorizontalDistance(double distance) override { m_next.SetHorizontalDistance(distance); }
  void SetHeightDifference(double difference) override { m_next.SetHeightDifference(difference); }

 private:
  IMeasurementSink& m_next;
  std::wstring m_readPath;
  std::wstring m_shownPath;
};

}  // namespace m5host
