#include "tests/support/promise.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <initializer_list>
#include <locale>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "host/os/text_encoding.h"
#include "host/sinks/trace_format.h"
#include "host/sinks/units.h"
#include "parser/line_ledger.h"
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
  std::unordered_map<int, std::vector<std::string>> messagesByLine;
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
      facts.messagesByLine[currentLine].push_back(call);
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

// «text» as a trace writes it inside a message.
std::string Quoted(std::wstring_view text) {
  const std::string written = m5host::QuoteText(std::wstring(text).c_str());
  return "\u00AB" + written.substr(1, written.size() - 2) + "\u00BB";
}

constexpr std::wstring_view kStationKeywords[] = {
    L"STAT. KNWN. PNT.", L"STAT. KNOWN POINT/", L"FREE STATIONING",
    L"FREE STATIONING/", L"HEIGHTSTATIONING",   L"Eccentric Station",
};

bool Contains(std::wstring_view text, std::wstring_view word) {
  return text.find(word) != std::wstring_view::npos;
}

// What a line's record makes of its data blocks, as far as the checker can tell without
// the station's state.
enum class LineBlocks {
  Read,
  InputValues,
  // Steers the station: whether the blocks are read depends on it.
  Unknown,
  NotRead,
};

LineBlocks BlocksOfTextRecord(std::wstring_view text) {
  for (const std::wstring_view keyword : kStationKeywords) {
    if (text == keyword) {
      return LineBlocks::NotRead;
    }
  }
  if (Contains(text, L"COORDINATES") || Contains(text, L"MEASURE")) {
    return LineBlocks::Unknown;
  }
  if (Contains(text, L"NORMAL REFLECTOR") || Contains(text, L"REFLECT FOIL") ||
      Contains(text, L"NO REFLECTOR")) {
    return LineBlocks::Read;
  }
  return Contains(text, L"INPUT VALUES") ? LineBlocks::InputValues : LineBlocks::Read;
}

// Whether the block plainly gives nothing on a line whose blocks are read.
bool GivesNothing(const m5::DataBlockFields& parts, LineBlocks blocks, bool dmsSeen,
                  const m5::CFieldTables& tables) {
  if (parts.value.empty()) {
    return parts.typeCode.size() > 2;  // type and value not apart
  }
  const int type = tables.TypeCodeIndex(parts.typeCode);
  if (type < 0 || m5::kTypeCodeRows[type].quantity == m5::Quantity::None) {
    return true;
  }
  const m5::TypeCodeRow& row = m5::kTypeCodeRows[type];
  if (!parts.unit.empty()) {
    const int unit = tables.UnitIndex(parts.unit);
    if (unit < 0 || m5::kUnitRows[unit].quantity != row.quantity) {
      return true;
    }
  }
  if (row.value == m5::BlockValue::TargetHeight && blocks != LineBlocks::InputValues) {
    return true;
  }
  // An angle may be read by the plug-in's own DMS reading, which the checker leaves alone.
  const bool dms = row.quantity == m5::Quantity::Angle && dmsSeen;
  return !dms && !m5host::ParseDecimal(parts.value).has_value();
}

// One line of the file as the plug-in reads it: its record, the section it lies in, and
// its data blocks.
struct RecordLine {
  int index = 0;
  bool textRecord = false;
  bool pointRecord = false;
  std::wstring_view text;  // a text record's trimmed text
  std::wstring_view name;  // a point record's name, cut by the layout
  std::wstring_view blocks[3];
  bool skipped = false;        // in a section that skips data (its opening line too)
  bool closesSection = false;  // the line ends the open section
  int sectionLine = 0;         // the line that opened the latest section
};

// Visits the lines up to the first that is not M5, which stops the file with a message
// about the whole file.
template <class Visit>
void ForEachRecordLine(const std::vector<std::wstring>& lines, const ImportSettings& settings,
                       const m5::CWhiteSpace& isSpace, Visit&& visit) {
  bool skipping = false;
  int sectionLine = 0;
  for (std::size_t index = 0; index < lines.size(); ++index) {
    const std::wstring_view line = m5::TrimmedView(lines[index], isSpace);
    if (line.empty()) {
      continue;
    }
    FieldCursor fields(line);
    const bool oldSoftware = line.size() == kOldSoftwareLineLength && line.back() == L'O';
    if (oldSoftware || !IsM5Identifier(fields.Next())) {
      return;
    }
    fields.Next();  // the address
    const std::wstring_view infoBlock = fields.Next();
    const std::wstring_view type = infoBlock.substr(0, 2);
    const std::wstring_view info = infoBlock.substr(std::min<std::size_t>(4, infoBlock.size()));
    RecordLine record;
    record.index = static_cast<int>(index);
    record.textRecord = IsRecordType(type, {L"TI", L"TR", L"TG"});
    record.pointRecord = IsRecordType(type, {L"PI", L"KR", L"KD"});
    if (record.textRecord) {
      record.text = m5::TrimmedView(info, isSpace);
      if (!skipping && Contains(record.text, L"START")) {
        skipping = true;
        sectionLine = record.index;
      } else if (skipping && Contains(record.text, L"END")) {
        skipping = false;
        record.closesSection = true;
      }
    } else if (record.pointRecord) {
      record.name = m5::CutTrimmedView(info, settings.PointStart, settings.PointLen, isSpace);
    }
    for (std::wstring_view& block : record.blocks) {
      block = fields.Next();
    }
    record.skipped = skipping;
    record.sectionLine = sectionLine;
    visit(record);
  }
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
  // The points with values the open section skipped, and the line that opened it.
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
  ForEachRecordLine(lines, settings, isSpace, [&](const RecordLine& line) {
    sectionLine = line.sectionLine;
    if (line.closesSection) {
      closeSection();
    }
    if (!line.pointRecord || line.name.empty()) {
      return;  // a point without a name is reported as one
    }
    const LineValues values = ValuesOfBlocks(line.blocks, tables, isSpace);
    if (values == LineValues::None) {
      return;
    }
    const LostPoint point{line.index, std::wstring(line.name)};
    if (line.skipped) {
      skipped.push_back(point);
    } else if (facts.linesWithMessages.count(line.index) == 0 && !reachesHost(line.name) &&
               !(values == LineValues::StationChoice && namedInAMessage(line.name))) {
      lost.push_back(point);
    }
  });
  closeSection();
  return lost;
}

std::vector<LostPoint> FindUnnamedBlocks(const std::vector<std::wstring>& lines,
                                         const ImportSettings& settings,
                                         const std::vector<std::string>& trace) {
  const TraceFacts facts = ReadTrace(trace);
  const std::locale locale;
  const m5::CWhiteSpace isSpace(std::use_facet<std::ctype<wchar_t>>(locale));
  const m5::CFieldTables tables;
  const auto namedOn = [&facts](int line, std::initializer_list<std::wstring_view> texts) {
    const auto found = facts.messagesByLine.find(line);
    if (found == facts.messagesByLine.end()) {
      return false;
    }
    for (const std::wstring_view text : texts) {
      if (text.empty()) {
        continue;
      }
      const std::string quoted = Quoted(text);
      for (const std::string& message : found->second) {
        if (message.find(quoted) != std::string::npos) {
          return true;
        }
      }
    }
    return false;
  };

  std::vector<LostPoint> lost;
  bool dmsSeen = false;
  ForEachRecordLine(lines, settings, isSpace, [&](const RecordLine& line) {
    if (line.pointRecord && line.name.empty()) {
      return;  // reported as a point without a name, blocks and all
    }
    const LineBlocks blocks = line.textRecord    ? BlocksOfTextRecord(line.text)
                              : line.pointRecord ? LineBlocks::Read
                                                 : LineBlocks::NotRead;
    for (const std::wstring_view block : line.blocks) {
      const m5::DataBlockFields parts = m5::SplitDataBlockFields(block, isSpace);
      if (!parts.unit.empty() && tables.UnitIndex(parts.unit) == m5::UnitRowIndex(L"DMS")) {
        dmsSeen = true;
      }
      if (parts.value.empty() && parts.typeCode.size() <= 2) {
        continue;  // nothing written to read
      }
      bool mustName = false;
      if (line.skipped) {
        // The line that opened the section may name what it skipped.
        mustName = facts.linesWithMessages.count(line.sectionLine) == 0;
      } else if (blocks == LineBlocks::NotRead) {
        mustName = true;
      } else if (blocks != LineBlocks::Unknown) {
        mustName = GivesNothing(parts, blocks, dmsSeen, tables);
      }
      const std::wstring shown = m5::ShownBlock(block, isSpace);
      // A long unit is named by its start (16 characters, or 15 short of half a character).
      const std::wstring unitStart =
          std::wstring(parts.unit.substr(0, parts.unit.size() > 16 ? 16 : 0)) + L"\u2026";
      const std::wstring unitShorter =
          std::wstring(parts.unit.substr(0, parts.unit.size() > 16 ? 15 : 0)) + L"\u2026";
      if (mustName &&
          !namedOn(line.index, {shown, parts.unit, unitStart, unitShorter, line.name})) {
        lost.push_back({line.index, L"\u00AB" + shown + L"\u00BB"});
      }
    }
  });
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
