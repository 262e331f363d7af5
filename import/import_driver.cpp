#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>

#include "import/line_readers.h"
#include "import/plugin.h"
#include "parser/parser.h"
#include "platform/input_file.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"

namespace {

// The file's lines in the reading the encoding setting chooses, or nothing when the file
// cannot be read. The raw bytes are dropped on return, before the first line is parsed.
std::optional<m5::import::LineList> ReadFileLines(const std::wstring& path, std::int32_t codeStr) {
  using m5::platform::FileMode;
  const bool ansi = codeStr == 0;
  const std::optional<std::string> bytes =
      m5::platform::ReadWholeFile(path, ansi ? FileMode::Text : FileMode::Binary);
  if (!bytes) {
    return std::nullopt;
  }
  m5::import::LineList lines;
  if (ansi) {
    m5::import::ReadLines8Bit(*bytes, lines);
  } else {
    m5::import::ReadLinesUnicode(*bytes, lines);
  }
  return lines;
}

}  // namespace

void CImportPluginImpl::Import(Plugin::IEnumerator<const wchar_t*>* files, IMeasurementSink* sink) {
  if (files == nullptr || sink == nullptr) {
    return;
  }
  files->Reset();
  while (files->IsValid()) {
    // A null path from the host is a file that cannot be opened, not a crash.
    const wchar_t* current = files->Current();
    const std::wstring path = current != nullptr ? current : L"";
    ImportFile(path, sink);
    files->Next();
  }
}

void CImportPluginImpl::ImportFile(const std::wstring& path, IMeasurementSink* sink) {
  sink->BeginFile(path.c_str());
  const std::optional<m5::import::LineList> lines = ReadFileLines(path, m_settings.CodeStr);
  if (!lines) {
    sink->ReportError(m5::platform::LoadResourceString(m5::msg::kCannotOpenFile).c_str());
    return;
  }
  // The host numbers lines with an int; a longer list could not be held in memory anyway.
  const int count = static_cast<int>(std::min<std::size_t>(lines->size(), INT_MAX));
  {
    CParser parser(sink, m_settings);
    try {
      for (int i = 0; i < count; ++i) {
        sink->SetCurrentLine(i);
        parser.ParseLine(i, (*lines)[static_cast<std::size_t>(i)]);
        const auto done = (static_cast<std::uint64_t>(i) + 1) * 100;
        sink->SetProgress(static_cast<float>(done) / static_cast<float>(count));
      }
      parser.Finish();
    } catch (const CParser::FatalError&) {
      // The parser has told the user why; the rest of this file is not M5.
    }
  }
  sink->SetProgress(100.0f);
}
