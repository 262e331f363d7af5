// The parser's entry: the M5 line (identifier, address, information block and three data
// blocks, "|" apart) taken apart, the end of the file, and the messages of a line.
#include "parser/parser.h"

#include <algorithm>

#include "parser/text.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"
#include "text/m5_line.h"

namespace {

// Lines of exactly this length ending in "O" come from early instrument software, whose
// records this reader cannot interpret.
constexpr std::size_t kOldSoftwareLineLength = 119;

}  // namespace

CParser::CParser(IMeasurementSink* sink, const m5::RecordLayout& layout)
    : m_sink(sink),
      m_isSpace(std::use_facet<std::ctype<wchar_t>>(m_locale)),
      m_converters(sink),
      m_layout(layout) {}

// The records go before the converters; nothing of the file is sent from here.
CParser::~CParser() = default;

std::wstring_view CParser::NextField() {
  const std::size_t size = m_line.size();
  const std::size_t start = std::min(m_fieldStart, size);
  // A field of an M5 line is a few dozen characters, shorter than a library search takes to
  // get going; six of them per line.
  std::size_t end = start;
  while (end < size && m_line[end] != m5::text::kFieldSeparator) {
    ++end;
  }
  m_fieldStart = end < size ? end + 1 : size;
  return std::wstring_view(m_line.data() + start, end - start);
}

void CParser::ParseLine(int lineIndex, const std::wstring& line) {
  m_lineIndex = lineIndex;
  m_hostLine = lineIndex;
  m_line = m5::TrimmedView(line, m_isSpace);
  if (m_line.empty()) {
    return;
  }

  if (m_line.size() == kOldSoftwareLineLength && m_line.back() == L'O') {
    StopFile(m5::msg::kOldSoftwareLine);
  }

  m_fieldStart = 0;
  const std::wstring_view identifier = NextField();
  if (!m5::text::IsEndIdentifier(identifier) && !m5::text::IsFormatIdentifier(identifier)) {
    StopFile(m5::msg::kWrongFileFormat);
  }

  NextField();  // the address says nothing about the survey
  const std::wstring_view info = NextField();
  // A record the information block does not name is named by its own text.
  m_ledger.Open(m5::TrimmedView(info, m_isSpace));
  ReadDataBlocks(ParseInfoBlock(info));
  // Every block of the line has its fate now; the line's record is released.
  ReportUnaccountedBlocks();
}

void CParser::ReportUnaccountedBlocks() {
  if (m_ledger.AllAccounted()) {
    return;
  }
  std::wstring list;
  m_ledger.ForEachUnaccounted([this, &list](std::wstring_view block, m5::BlockFate fate) {
    unsigned int why = m5::msg::kWhyNotReadHere;
    switch (fate) {
      case m5::BlockFate::ValueUnreadable:
        why = m5::msg::kWhyValueUnreadable;
        break;
      case m5::BlockFate::SurveyValueUnreadable:
        why = m5::msg::kWhySurveyValueUnreadable;
        break;
      case m5::BlockFate::TypeUnknown:
        why = m5::msg::kWhyTypeUnknown;
        break;
      case m5::BlockFate::UnitUnfit:
        why = m5::msg::kWhyUnitUnfit;
        break;
      default:
        break;
    }
    if (!list.empty()) {
      list += L", ";
    }
    list += L'\u00AB';
    list += m5::ShownBlock(block, m_isSpace);
    list += L"\u00BB (";
    list += m5::platform::LoadResourceString(why);
    list += L')';
  });
  const std::wstring record = m5::ShownBlock(m_ledger.RecordName(), m_isSpace);
  ReportWarningOnLine(m_lineIndex, m5::msg::kBlocksNotImported, {record, list});
}

void CParser::Finish() {
  if (!m_stationKeywordSeen) {
    ReportFileError(m5::msg::kWrongImportMode);
  }
  if (m_skipSection) {
    ReportSkippedSection(-1);
  }
  FlushStation();
  ReportCurrentRecordLost();
}

void CParser::StopFile(unsigned int id) {
  ReportFileError(id);
  if (m_skipSection) {
    ReportSkippedSection(-1);
  }
  // One bad line (a checksum, a line joined from another file) keeps what came before it.
  FlushStation();
  ReportCurrentRecordLost();
  throw FatalError{};
}

void CParser::ReportError(unsigned int id) {
  m_sink->ReportError(m5::platform::LoadResourceString(id).c_str());
}

void CParser::ReportWarning(unsigned int id) {
  m_sink->ReportWarning(m5::platform::LoadResourceString(id).c_str());
}

void CParser::ReportWarning(unsigned int id, const std::wstring& argument) {
  m_sink->ReportWarning(m5::FormatMessage(m5::platform::LoadResourceString(id), argument).c_str());
}

void CParser::ReportWarning(unsigned int id, std::initializer_list<std::wstring_view> arguments) {
  m_sink->ReportWarning(m5::FormatMessage(m5::platform::LoadResourceString(id), arguments).c_str());
}

void CParser::ReportWarningOnLine(std::int32_t line, unsigned int id,
                                  std::initializer_list<std::wstring_view> arguments) {
  const bool elsewhere = line != m_hostLine;
  if (elsewhere) {
    m_sink->SetCurrentLine(line);
  }
  ReportWarning(id, arguments);
  if (elsewhere) {
    m_sink->SetCurrentLine(m_hostLine);
  }
}

void CParser::ReportFileError(unsigned int id) {
  m_sink->SetCurrentLine(-1);
  m_hostLine = -1;
  ReportError(id);
}

void CParser::ReportRecordNotImported(unsigned int id, const PointRecord& record) {
  ReportWarningOnLine(record.line, id, {record.name});
}

void CParser::ReportSkippedSection(std::int32_t endLine) {
  if (m_sectionPoints == 0) {
    return;
  }
  const std::wstring count = std::to_wstring(m_sectionPoints);
  if (endLine < 0) {
    ReportWarningOnLine(m_sectionLine, m5::msg::kSectionSkippedToEnd, {count});
  } else {
    // Lines as the user counts them, from 1.
    const std::wstring end = std::to_wstring(static_cast<std::int64_t>(endLine) + 1);
    ReportWarningOnLine(m_sectionLine, m5::msg::kSectionSkipped, {end, count});
  }
  m_sectionPoints = 0;
}
