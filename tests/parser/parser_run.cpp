#include "tests/parser/parser_run.h"

#include <gtest/gtest.h>

#include "parser/parser.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"
#include "tests/support/messages.h"
#include "tests/support/recording_host.h"

namespace m5test {

const std::string kWrongImportMode =
    "SetCurrentLine(-1)\n" + ErrorCall(m5::msg::kWrongImportMode) + "\n";
const std::string kWrongFileFormat =
    "SetCurrentLine(-1)\n" + ErrorCall(m5::msg::kWrongFileFormat) + "\n";
const std::string kOldSoftwareLine =
    "SetCurrentLine(-1)\n" + ErrorCall(m5::msg::kOldSoftwareLine) + "\n";
const std::string kNoPointName = ErrorCall(m5::msg::kNoPointName) + "\n";
const std::string kNoStationDeclared = ErrorCall(m5::msg::kNoStationDeclared) + "\n";
const std::string kHeightChanged = ErrorCall(m5::msg::kInstrumentHeightChanged) + "\n";
const std::string kMaybeOldSoftware = WarningCall(m5::msg::kMaybeOldSoftware) + "\n";

std::string Warning(unsigned int id, const std::wstring& argument) {
  return WarningCall(id, argument) + "\n";
}

std::string NotImported(unsigned int id, const std::wstring& name) {
  return Warning(id, name);
}

std::string NotImported(unsigned int id, const std::wstring& name, int line, int back) {
  return "SetCurrentLine(" + std::to_string(line) + ")\n" + Warning(id, name) + "SetCurrentLine(" +
         std::to_string(back) + ")\n";
}

std::string SectionSkipped(int openLine, int back, int points, int closeLine) {
  const std::wstring count = std::to_wstring(points);
  const std::string warning =
      closeLine < 0
          ? WarningCallWith(m5::msg::kSectionSkippedToEnd, {count})
          : WarningCallWith(m5::msg::kSectionSkipped, {std::to_wstring(closeLine + 1), count});
  return "SetCurrentLine(" + std::to_string(openLine) + ")\n" + warning + "\nSetCurrentLine(" +
         std::to_string(back) + ")\n";
}

std::string UnitOfAnotherQuantity(const std::wstring& unit, const std::wstring& type,
                                  unsigned int needs) {
  return WarningCallWith(m5::msg::kUnitOfAnotherQuantity,
                         {unit, type, m5::platform::LoadResourceString(needs)}) +
         "\n";
}

std::string BlocksNotImported(const std::wstring& record,
                              std::initializer_list<std::pair<std::wstring, unsigned int>> blocks) {
  std::wstring list;
  for (const auto& [block, why] : blocks) {
    list += (list.empty() ? L"\u00AB" : L", \u00AB") + block + L"\u00BB (" +
            m5::platform::LoadResourceString(why) + L")";
  }
  return WarningCallWith(m5::msg::kBlocksNotImported, {record, list}) + "\n";
}

std::string DefaultStation(const std::string& name) {
  return "ReportWarning(\"Не определена точка стояния.\\nПо умолчанию создается станция с именем " +
         name + ".\")\nAddStation(\"" + name + "\")\n";
}

std::string Survey(const std::vector<std::wstring>& lines, const RunOptions& options) {
  RecordingSink sink;
  sink.RecordFactoryCalls(options.recordFactory);
  if (options.withoutFactory) {
    sink.WithoutFactory();
  }
  {
    CParser parser(&sink, options.layout);
    bool fatal = false;
    for (std::size_t i = 0; i < lines.size() && !fatal; ++i) {
      try {
        parser.ParseLine(static_cast<int>(i), lines[i]);
      } catch (const CParser::FatalError&) {
        fatal = true;
      }
    }
    if (!fatal) {
      parser.Finish();
    }
  }
  EXPECT_EQ(sink.OutstandingReferences(), 0);
  EXPECT_EQ(sink.OverReleases(), 0);
  return sink.Trace();
}

std::string SurveyText(const std::wstring& text, const RunOptions& options) {
  std::vector<std::wstring> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos) {
      if (start < text.size()) {
        lines.push_back(text.substr(start));
      }
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return Survey(lines, options);
}

std::wstring Line(const std::wstring& infoBlock, std::initializer_list<std::wstring> blocks) {
  std::wstring line = L"For M5|Adr 00001|" + infoBlock + L"|";
  for (const std::wstring& block : blocks) {
    line += block + L"|";
  }
  return line;
}

std::wstring Text(const std::wstring& text, std::initializer_list<std::wstring> blocks) {
  return Line(L"TI  " + text, blocks);
}

std::wstring Point(const std::wstring& name, const std::wstring& code,
                   std::initializer_list<std::wstring> blocks) {
  std::wstring info = L"PI1 " + name;
  info.resize(4 + 14, L' ');
  info += code;
  info.resize(4 + 27, L' ');
  info += L"12:34";
  return Line(info, blocks);
}

}  // namespace m5test
