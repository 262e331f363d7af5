// The measurement sink that collects an import into FileSurvey records (survey.h).
#pragma once

#include <functional>
#include <vector>

#include "host/sinks/converter_factory.h"
#include "host/survey/survey.h"
#include "sdk/host_interfaces.h"

namespace m5host {

class CollectingSink final : public IMeasurementSink {
 public:
  explicit CollectingSink(HostConverterFactory& factory) : m_factory(factory) {}

  // Called on every SetProgress with the file being read and the percentage.
  void OnProgress(std::function<void(const std::string&, float)> callback) {
    m_onProgress = std::move(callback);
  }

  const std::vector<FileSurvey>& Files() const { return m_files; }
  int ErrorCount() const;
  // Values that arrived before any station or point was named (the plug-in never should).
  int StrayValues() const { return m_strayValues; }

  IConverterFactory* GetConverterFactory() override;
  void BeginFile(const wchar_t* path) override;
  void SetCurrentLine(int line) override { m_line = line; }
  void ReportWarning(const wchar_t* text) override;
  void ReportError(const wchar_t* text) override;
  void SetProgress(float percent) override;
  void AddPoint(const wchar_t* name) override;
  void SetX(double x) override { Set(&SurveyPoint::x, x); }
  void SetY(double y) override { Set(&SurveyPoint::y, y); }
  void SetZ(double z) override { Set(&SurveyPoint::z, z); }
  void SetPointKind(int kind) override;
  void SetPointFlag(int flag) override;
  void SetCode(const wchar_t* code) override;
  void AddStation(const wchar_t* name) override;
  void SetInstrumentHeight(double height) override { Set(&SurveyPoint::instrumentHeight, height); }
  void AddTarget(const wchar_t* name) override;
  void SetPressure(double pressure) override { Set(&SurveyPoint::pressure, pressure); }
  void SetTemperature(double temperature) override { Set(&SurveyPoint::temperature, temperature); }
  void SetVerticalAngle(double angle) override { Set(&SurveyPoint::verticalAngle, angle); }
  void SetHorizontalDirection(double angle) override {
    Set(&SurveyPoint::horizontalDirection, angle);
  }
  void SetTargetHeight(double height) override { Set(&SurveyPoint::targetHeight, height); }
  void SetSlopeDistance(double distance) override { Set(&SurveyPoint::slopeDistance, distance); }
  void SetHorizontalDistance(double distance) override {
    Set(&SurveyPoint::horizontalDistance, distance);
  }
  void SetHeightDifference(double difference) override {
    Set(&SurveyPoint::heightDifference, difference);
  }

 private:
  FileSurvey& CurrentFile();
  void Name(Role role, const wchar_t* name);
  void Report(Severity severity, const wchar_t* text);
  // The record named last, or null before any.
  SurveyPoint* Current();
  template <class Field, class T>
  void Set(Field SurveyPoint::*field, const T& value) {
    if (SurveyPoint* point = Current()) {
      point->*field = value;
    } else {
      ++m_strayValues;
    }
  }

  HostConverterFactory& m_factory;
  std::vector<FileSurvey> m_files;
  int m_line = -1;
  int m_strayValues = 0;
  std::function<void(const std::string&, float)> m_onProgress;
};

}  // namespace m5host
