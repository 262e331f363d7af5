#include "tests/support/recording_host.h"

namespace m5test {

RecordingSink::RecordingSink()
    : TraceSink([this](std::string line) { m_calls.push_back(std::move(line)); }, nullptr) {
  m_factory.OnCall([this](const std::string& line) { FactoryLine(line); });
}

std::string RecordingSink::Trace() const {
  std::string out;
  for (const std::string& line : m_calls) {
    out += line;
    out += '\n';
  }
  return out;
}

int RecordingSink::OverReleases() const {
  const m5host::ReferenceBalance balance = m_factory.Balance();
  return balance.overReleases + balance.usedAfterRelease;
}

IConverterFactory* RecordingSink::GetConverterFactory() {
  TraceSink::GetConverterFactory();  // its line; there is no next sink to ask
  if (m_noFactory) {
    return nullptr;
  }
  m_factory.AddRef();  // the caller's reference
  return &m_factory;
}

}  // namespace m5test
