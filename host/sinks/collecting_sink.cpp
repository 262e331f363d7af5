#include "host/sinks/collecting_sink.h"

#include "host/os/text_encoding.h"

namespace m5host {

namespace {

std::string Text(const wchar_t* text) {
  return text != nullptr ? ToUtf8(text) : std::string();
}

// A set-up is complete once the next one begins: what its observations' vector grew by in
// advance would otherwise stay reserved for nothing, up to half of a large survey.
void CloseSetup(FileSurvey& file) {
  if (!file.setups.empty()) {
    file.setups.back().observations.shrink_to_fit();
  }
}

}  // namespace

int CollectingSink::ErrorCount() const {
  int n = 0;
  for (const FileSurvey& file : m_files) {
    n += file.Count(Severity::Error);
  }
  return n;
}

IConverterFactory* CollectingSink::GetConverterFactory() {
  m_factory.AddRef();  // the caller's reference
  return &m_factory;
}

FileSurvey& CollectingSink::CurrentFile() {
  if (m_files.empty()) {
    m_files.emplace_back();  // calls before any BeginFile still have a home
  }
  return m_files.back();
}

void CollectingSink::BeginFile(const wchar_t* path) {
  if (!m_files.empty()) {
    CloseSetup(m_files.back());
  }
  m_files.emplace_back();
  m_files.back().path = Text(path);
  m_line = -1;
}

void CollectingSink::Report(Severity severity, const wchar_t* text) {
  CurrentFile().messages.push_back({severity, m_line, Text(text)});
}

void CollectingSink::ReportWarning(const wchar_t* text) {
  Report(Severity::Warning, text);
}
void CollectingSink::ReportError(const wchar_t* text) {
  Report(Severity::Error, text);
}

void CollectingSink::SetProgress(float percent) {
  if (m_onProgress) {
    m_onProgress(CurrentFile().path, percent);
  }
}

void CollectingSink::Name(Role role, const wchar_t* name) {
  FileSurvey& file = CurrentFile();
  SurveyPoint point;
  point.role = role;
  point.name = Text(name);
  if (role == Role::Station) {
    CloseSetup(file);
    file.setups.emplace_back();
    file.setups.back().station = std::move(point);
    return;
  }
  if (file.setups.empty()) {
    file.setups.emplace_back();
  }
  file.setups.back().observations.push_back(std::move(point));
}

void CollectingSink::AddStation(const wchar_t* name) {
  Name(Role::Station, name);
}
void CollectingSink::AddPoint(const wchar_t* name) {
  Name(Role::Point, name);
}
void CollectingSink::AddTarget(const wchar_t* name) {
  Name(Role::Target, name);
}

SurveyPoint* CollectingSink::Current() {
  if (m_files.empty() || m_files.back().setups.empty()) {
    return nullptr;
  }
  StationSetup& setup = m_files.back().setups.back();
  if (!setup.observations.empty()) {
    return &setup.observations.back();
  }
  return setup.station ? &*setup.station : nullptr;
}

void CollectingSink::SetPointKind(int kind) {
  Set(&SurveyPoint::kind, kind);
}
void CollectingSink::SetPointFlag(int flag) {
  Set(&SurveyPoint::flag, flag);
}
void CollectingSink::SetCode(const wchar_t* code) {
  Set(&SurveyPoint::code, Text(code));
}

}  // namespace m5host
