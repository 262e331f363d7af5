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
#include "import/line_readers.h"
#include "parser/text.h"
#include "platform/input_file.h"
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
  const bool ansi = settings.CodeStr == 0;
  const std::optional<std::string> bytes = m5::platform::ReadWholeFile(
      path, ansi ? m5::platform::FileMode::Text : m5::platform::FileMode::Binary);
  if (!bytes) {
    return std::nullopt;
  }
  m5::import::CLineCursor cursor(*bytes, ansi);
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

  std::vector<LostPoint> lost;
  bool skipping = false;
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

    if (IsRecordType(type, {L"TI", L"TR", L"TG"})) {
      const std::wstring_view text = m5::TrimmedView(info, isSpace);
      if (!skipping) {
        skipping = text.find(L"START") != std::wstring_view::npos;
      } else if (text.find(L"END") != std::wstring_view::npos) {
        skipping = false;
      }
      continue;
    }
    if (skipping || !IsRecordType(type, {L"PI", L"KR", L"KD"})) {
      continue;
    }
    const std::wstring_view name =
        m5::CutTrimmedView(info, settings.PointStart, settings.PointLen, isSpace);
    if (name.empty()) {
      continue;  // reported as a point without a name
    }
    bool carriesValue = false;
    for (int block = 0; block < 3; ++block) {
      const m5::DataBlockFields parts = m5::SplitDataBlockFields(fields.Next(), isSpace);
      carriesValue = carriesValue || (!parts.value.empty() &&
                                      IsPointValueType(tables.TypeCodeIndex(parts.typeCode)));
    }
    const int lineIndex = static_cast<int>(index);
    if (!carriesValue || facts.linesWithMessages.count(lineIndex) != 0) {
      continue;
    }
    // The host sees the name up to its first NUL, as any C string.
    const std::wstring named(name);
    if (facts.names.count(m5host::QuoteText(named.c_str())) == 0) {
      lost.push_back({lineIndex, named});
    }
  }
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
