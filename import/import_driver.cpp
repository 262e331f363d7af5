#include <algorithm>
#include <climits>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "import/failure_reason.h"
#include "import/plugin.h"
#include "parser/parser.h"
#include "parser/record_layout.h"
#include "parser/text.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"
#include "sdk/contained_call.h"
#include "text/byte_source.h"
#include "text/line_reader.h"

namespace {

// Tells the host that this file broke off and why. Nothing thrown while the message is
// built leaves here: the host hears nothing rather than an exception.
void ReportFileFailure(IMeasurementSink& sink, const std::exception_ptr& failure) noexcept {
  sink.SetCurrentLine(-1);
  Plugin::CallContained([&] {
    const std::wstring text =
        m5::FormatMessage(m5::platform::LoadResourceString(m5::msg::kImportFailed),
                          m5::import::FailureReason(failure));
    sink.ReportError(text.c_str());
  });
}

// Two transfers joined into one file lose the second to the 0x1A between them: the user
// learns on the last line read how much was left.
void ReportUnreadRest(IMeasurementSink& sink, std::uint64_t bytes) {
  if (bytes == 0) {
    return;
  }
  const std::wstring text = m5::FormatMessage(
      m5::platform::LoadResourceString(m5::msg::kRestNotRead), std::to_wstring(bytes));
  sink.ReportWarning(text.c_str());
}

// The parser's part of the settings. Stored values are taken as they are: any Hz recording
// but 1 is absolute readings, and the parser copes with any layout.
constexpr m5::RecordLayout LayoutOf(const ImportSettings& settings) {
  m5::RecordLayout layout;
  layout.nameStart = settings.PointStart;
  layout.nameLength = settings.PointLen;
  layout.codeStart = settings.CodeStart;
  layout.codeLength = settings.CodeLen;
  layout.hz = settings.AngleMode == 1 ? m5::HzRecording::OrientedDirection
                                      : m5::HzRecording::AbsoluteReading;
  return layout;
}

// Tests and tools that run the parser without settings take its default layout: it must be
// the settings' default.
constexpr bool IsDefaultLayout(const m5::RecordLayout& layout) {
  constexpr m5::RecordLayout kDefault;
  return layout.nameStart == kDefault.nameStart && layout.nameLength == kDefault.nameLength &&
         layout.codeStart == kDefault.codeStart && layout.codeLength == kDefault.codeLength &&
         layout.hz == kDefault.hz;
}
static_assert(IsDefaultLayout(LayoutOf(ImportSettings{})));

}  // namespace

void CImportPluginImpl::Import(Plugin::IEnumerator<const wchar_t*>* files, IMeasurementSink* sink) {
  if (files == nullptr || sink == nullptr) {
    return;
  }
  // Each file stops its own failures; only the host's file list itself can end the walk.
  Plugin::CallContained([&] {
    files->Reset();
    while (files->IsValid()) {
      ImportFile(files->Current(), sink);
      files->Next();
    }
  });
}

void CImportPluginImpl::ImportFile(const wchar_t* current, IMeasurementSink* sink) {
  // A null path from the host is a file that cannot be opened, not a crash.
  const wchar_t* path = current != nullptr ? current : L"";
  try {
    sink->BeginFile(path);
    ReadAndParse(path, sink);
  } catch (...) {
    // Exhausted memory, a text the system cannot convert, anything else: this file stops
    // here, what the host has received of it stays, and the next file is imported.
    ReportFileFailure(*sink, std::current_exception());
    sink->SetProgress(100.0f);
  }
}

void CImportPluginImpl::ReadAndParse(const std::wstring& path, IMeasurementSink* sink) {
  // The file is read twice, a chunk at a time: once to count its lines for the progress,
  // then line by line as the parser takes them. Memory holds a chunk and the longest line.
  const std::unique_ptr<m5::text::CFileSource> file = m5::text::CFileSource::Open(path);
  std::optional<m5::text::CLineReader> lines;
  try {
    if (file) {
      lines.emplace(*file, m5::text::SettingOf(m_settings.CodeStr));
    }
  } catch (const m5::text::CReadFailure&) {
    // A folder, or a file the system cannot read before its first line: it cannot be opened.
  }
  if (!lines) {
    sink->ReportError(m5::platform::LoadResourceString(m5::msg::kCannotOpenFile).c_str());
    return;
  }
  // The host numbers lines with an int; a longer file would take days to import anyway.
  const int count = static_cast<int>(std::min<std::size_t>(lines->Count(), INT_MAX));
  {
    CParser parser(sink, LayoutOf(m_settings));
    try {
      for (int i = 0; i < count; ++i) {
        sink->SetCurrentLine(i);
        const std::wstring* line = lines->Next();
        if (line == nullptr) {
          break;  // the file lost lines since they were counted
        }
        if (lines->IsFirstMalformedLine()) {
          sink->ReportWarning(m5::platform::LoadResourceString(m5::msg::kMalformedText).c_str());
        }
        if (i + 1 == count) {
          ReportUnreadRest(*sink, lines->UnreadBytes());
        }
        parser.ParseLine(i, *line);
        const auto done = (static_cast<std::uint64_t>(i) + 1) * 100;
        sink->SetProgress(static_cast<float>(done) / static_cast<float>(count));
      }
      if (count == 0 && lines->UnreadBytes() != 0) {
        sink->SetCurrentLine(-1);
        ReportUnreadRest(*sink, lines->UnreadBytes());
      }
      parser.Finish();
    } catch (const CParser::FatalError&) {
      // The parser has told the user why; the rest of this file is not M5.
    }
  }
  sink->SetProgress(100.0f);
}
