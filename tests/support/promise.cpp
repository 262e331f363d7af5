#include "tests/support/promise.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <locale>
#include <string_view>
#include <unordered_set>

#include "host/os/text_encoding.h"
#include "host/sinks/trace_format.h"
#include "parser/text.h"
#include "platform/input_file.h"
#include "text/line_cursor.h"
#include "values/field_tables.h"
#include "values/white_space.h"

namespace m5test {

namespace {

// The data blocks whose value belongs to the point of their line (not to the station or
// the survey: th, ih, temperature, pressure, orientation).
constexpr std::array<std::wstring_view, 21> kPointValueTypes = {
    L"X",  L"x", L"N_", L"n",  L"Y",  L"y",  L"E_", L"e", L"Z",  L"SD", L"D",
    L"HD", L"E", L"Hz", L"HV", L"V1", L"V2", L"V3", L"h", L"dR", L"DL",
};

constexpr std::size_t kOldSoftwareLineLength = 119;

bool IsPointValueType(int typeIndex) {
  if (typeIndex < 0 || typeIndex >= m5::kTypeCodeCount) {
    return false;
  }
  const std::wstring_view code = m5::kTypeCodeRows[typeIndex].code;
  for (const std::wstring_view valueType : kPointValueTypes) {
    if (code == valueType) {
      return true;
    }
  }
  return false;
}

// What a point line's data blocks give its record.
enum class LineValues {
  None,
  // Only an instrument height or an orientation: they choose the station, and the record
  // goes on in it.
  StationChoice,
  // A value of the point itself, or one under a type code no row knows.
  PointValue,
};

LineValues ValuesOfBlocks(const std::wstring_view (&blocks)[3], const m5::CFieldTables& tables,
                          const m5::CWhiteSpace& isSpace) {
  LineValues values = LineValues::None;
  for (const std::wstring_view block : blocks) {
    const m5::DataBlockFields parts = m5::SplitDataBlockFields(block, isSpace);
    if (parts.value.empty()) {
      continue;
    }
    const int type = tables.TypeCodeIndex(parts.typeCode);
    if (type < 0 || IsPointValueType(type)) {
      return LineValues::PointValue;
    }
    const std::wstring_view code = m5::kTypeCodeRows[type].code;
    if (code == L"ih" || code == L"Om") {
      values = LineValues::StationChoice;
    }
  }
  return values;
}

bool IsRecordType(std::wstring_view type, std::initializer_list<std::wstring_view> types) {
  for (const std::wstring_view candidate : types) {
    if (type == candidate) {
      return true;
    }
  }
  return false;
}

bool StartsWith(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

// What the trace says: the quoted names the host was given, and the lines messages were
// reported on.
struct TraceFacts {
  std::unordered_set<std::string> names;
  std::unordered_set<int> linesWithMessages;
  // The texts of every message, to find a point named in one on another line.
  std::vector<std::string> messages;
};

TraceFacts ReadTrace(const std::vector<std::string>& trace) {
  TraceFacts facts;
  constexpr std::string_view kSetLine = "SetCurrentLine(";
  int currentLine = -1;
  for (const std::string& call : trace) {
    if (StartsWith(call, kSetLine)) {
      currentLine = std::atoi(call.c_str() + kSetLine.size());
    } else if (StartsWith(call, "ReportWarning(") || StartsWith(call, "ReportError(")) {
      facts.linesWithMessages.insert(currentLine);
      facts.messages.push_back(call);
    } else {
      for (const std::string_view naming : {"AddPoint(", "AddTarget(", "AddStation("}) {
        if (StartsWith(call, naming) && call.size() > naming.size()) {
          facts.names.insert(call.substr(naming.size(), call.size() - naming.size() - 1));
        }
      }
    }
  }
  return facts;
}

// The fields of a trimmed M5 line, "|" apart; missing ones are empty.
class FieldCursor {
 public:
  explicit FieldCursor(std::wstring_view line) : m_rest(line) {}
  std::wstring_view Next() {
    const std::size_t bar = m_rest.find(L'|');
    const std::wstring_view field = m_rest.substr(0, bar);
    m_rest.remove_prefix(bar == std::wstring_view::npos ? m_rest.size() : bar + 1);
    return field;
  }

 private:
  std::wstring_view m_rest;
};

bool IsM5Identifier(std::wstring_view field) {
  if (field == L"END") {
    return true;
  }
  return field.size() == 6 && field.substr(0, 3) == L"For" && field.substr(4) == L"M5";
}

}  // namespace

std::optional<std::vector<std::wstring>> ReadLinesAsImported(const std::wstring& path,
                                                             const ImportSettings& settings) {
  const std::optional<std::string> bytes = m5::platform::ReadWholeFile(path);
  if (!bytes) {
    return std::nullopt;
  }
  m5::text::CLineCursor cursor(*bytes, m5::text::SettingOf(settings.CodeStr));
  std::vector<std::wstring> lines;
  lines.reserve(cursor.Count());
  for (std::size_t i = 0; i < cursor.Count(); ++i) {
    lines.push_back(cursor.Next());
  }
  return lines;
}

std::vector<LostPoint> FindLostPoints(const std::vector<std::wstring>& lines,
                                      const ImportSettings& settings,
                                      const std::vector<std::string>& trace) {
  const TraceFacts facts = ReadTrace(trace);
  const std::locale locale;
  const m5::CWhiteSpace isSpace(std::use_facet<std::ctype<wchar_t>>(locale));
  const m5::CFieldTables tables;

  // The host sees a name up to its first NUL, as any C string.
  const auto reachesHost = [&facts](std::wstring_view name) {
    return facts.names.count(m5host::QuoteText(std::wstring(name).c_str())) != 0;
  };
  // A station's record given up for another point is named on the line that gave it.
  const auto namedInAMessage = [&facts](std::wstring_view name) {
    // As the trace writes the name (up to its first NUL, escaped), without its quotes.
    const std::string written = m5host::QuoteText(std::wstring(name).c_str());
    const std::string quoted = "\u00AB" + written.substr(1, written.size() - 2) + "\u00BB";
    for (const std::string& message : facts.messages) {
      if (message.find(quoted) != std::string::npos) {
        return true;
      }
    }
    return false;
  };

  std::vector<LostPoint> lost;
  // The open skipped section: its first line and the points with values it skipped.
  bool skipping = false;
  int sectionLine = 0;
  std::vector<LostPoint> skipped;
  const auto closeSection = [&] {
    if (skipped.empty() || facts.linesWithMessages.count(sectionLine) != 0) {
      skipped.clear();
      return;
    }
    for (const LostPoint& point : skipped) {
      if (!reachesHost(point.name)) {
        lost.push_back(point);
      }
    }
    skipped.clear();
  };
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::wstring_view line = m5::TrimmedView(lines[index], isSpace);
    if (line.empty()) {
      continue;
    }
    FieldCursor fields(line);
    const bool oldSoftware = line.size() == kOldSoftwareLineLength && line.back() == L'O';
    if (oldSoftware || !IsM5Identifier(fields.Next())) {
      break;  // the file stops here with a message about the whole file
    }
    fields.Next();  // the address
    std::wstring_view info = fields.Next();
    const std::wstring_view type = info.substr(0, 2);
    info.remove_prefix(std::min<std::size_t>(4, info.size()));
    const int lineIndex = static_cast<int>(index);

    if (IsRecordType(type, {L"TI", L"TR", L"TG"})) {
      const std::wstring_view text = m5::TrimmedView(info, isSpace);
      if (!skipping && text.find(L"START") != std::wstring_view::npos) {
        skipping = true;
        sectionLine = lineIndex;
      } else if (skipping && text.find(L"END") != std::wstring_view::npos) {
        skipping = false;
        closeSection();
      }
      continue;
    }
    if (!IsRecordType(type, {L"PI", L"KR", L"KD"})) {
      continue;
    }
    const std::wstring_view name =
        m5::CutTrimmedView(info, settings.PointStart, settings.PointLen, isSpace);
    if (name.empty()) {
      continue;  // reported as a point without a name
    }
    const std::wstring_view blocks[3] = {fields.Next(), fields.Next(), fields.Next()};
    const LineValues values = ValuesOfBlocks(blocks, tables, isSpace);
    if (values == LineValues::None) {
      continue;
    }
    const LostPoint point{lineIndex, std::wstring(name)};
    if (skipping) {
      skipped.push_back(point);
      continue;
    }
    if (facts.linesWithMessages.count(lineIndex) != 0 || reachesHost(name)) {
      continue;
    }
    if (values == LineValues::StationChoice && namedInAMessage(name)) {
      continue;
    }
    lost.push_back(point);
  }
  closeSection();
  return lost;
}

std::string Describe(const std::vector<LostPoint>& lost) {
  std::string text;
  for (const LostPoint& point : lost) {
    text += "line " + std::to_string(point.line) + ": " + m5host::ToUtf8(point.name) + "\n";
  }
  return text;
}

}  // namespace m5test
