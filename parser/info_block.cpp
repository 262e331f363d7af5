// The information block of a line: a point record's name, code and time of measurement, or
// a text record's keywords, which open sections and steer the station (station_state.cpp).
#include "parser/parser.h"

#include <array>
#include <utility>

#include "parser/text.h"
#include "resources/string_ids.h"
#include "text/m5_line.h"

namespace {

struct StationKeywordRow {
  const wchar_t* text;  // matched whole
  m5::StationKeyword keyword;
};

// The text records that open a station set-up.
constexpr std::array<StationKeywordRow, 6> kStationKeywords = {{
    {L"STAT. KNWN. PNT.", m5::StationKeyword::SetUp},
    {L"STAT. KNOWN POINT/", m5::StationKeyword::SetUp},
    {L"FREE STATIONING", m5::StationKeyword::SetUp},
    {L"FREE STATIONING/", m5::StationKeyword::SetUp},
    {L"HEIGHTSTATIONING", m5::StationKeyword::HeightStationing},
    {L"Eccentric Station", m5::StationKeyword::SetUp},
}};

const StationKeywordRow* FindStationKeyword(std::wstring_view text) {
  for (const StationKeywordRow& row : kStationKeywords) {
    if (text == row.text) {
      return &row;
    }
  }
  return nullptr;
}

bool Contains(std::wstring_view text, const wchar_t* word) {
  return text.find(word) != std::wstring_view::npos;
}

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

// "12:34": the time the instrument software writes at the end of a measured point.
bool IsRecordTime(std::wstring_view text) {
  return text.size() == 5 && IsDigit(text[0]) && IsDigit(text[1]) && text[2] == L':' &&
         IsDigit(text[3]) && IsDigit(text[4]);
}

}  // namespace

CParser::DataBlocks CParser::ParseInfoBlock(std::wstring_view block) {
  if (block.empty()) {
    return DataBlocks::NotRead;
  }
  const std::wstring_view type = m5::text::RecordType(block);
  if (m5::text::IsPointRecord(type)) {
    return ParsePointRecord(m5::text::RecordText(block));
  }
  if (m5::text::IsTextRecord(type)) {
    return ParseTextRecord(m5::text::RecordText(block));
  }
  return DataBlocks::NotRead;
}

CParser::DataBlocks CParser::ParsePointRecord(std::wstring_view text) {
  if (m5::IsMeasuring(m_phase) && !m_timeWarningShown) {
    CheckRecordTime(text);
  }
  const std::wstring_view name =
      m5::CutTrimmedView(text, m_layout.nameStart, m_layout.nameLength, m_isSpace);
  if (name.empty()) {
    ReportError(m5::msg::kNoPointName);
    return DataBlocks::NotReadRecordNamed;
  }
  m_ledger.Open(name);
  RecordPtr record = NewRecord();
  record->name.assign(name);
  record->code.assign(m5::CutTrimmedView(text, m_layout.codeStart, m_layout.codeLength, m_isSpace));
  record->line = m_lineIndex;
  ReportCurrentRecordLost();
  m_current = std::move(record);
  return DataBlocks::Values;
}

m5::PointRecordPtr CParser::NewRecord() {
  if (m_spareRecords.empty()) {
    return std::make_shared<PointRecord>();
  }
  RecordPtr record = std::move(m_spareRecords.back());
  m_spareRecords.pop_back();
  // A fresh record, but the texts keep their buffers.
  std::wstring name = std::move(record->name);
  std::wstring code = std::move(record->code);
  *record = PointRecord{};
  name.clear();
  code.clear();
  record->name = std::move(name);
  record->code = std::move(code);
  return record;
}

void CParser::CheckRecordTime(std::wstring_view text) {
  // Later instrument software ends every measured point with the time of measurement.
  const std::wstring_view tail =
      m5::TrimmedView(text.substr(text.size() > 5 ? text.size() - 5 : 0), m_isSpace);
  if (IsRecordTime(tail)) {
    return;
  }
  ReportWarning(m5::msg::kMaybeOldSoftware);
  m_timeWarningShown = true;
}

CParser::DataBlocks CParser::ParseTextRecord(std::wstring_view text) {
  text = m5::TrimmedView(text, m_isSpace);
  m_ledger.Open(text);

  // A section's own markers are independent of what else the record says. Any text that
  // contains the word opens one (stored files rely on it), so what it skipped is named.
  if (!m_skipSection) {
    if (Contains(text, L"START")) {
      m_skipSection = true;
      m_sectionLine = m_lineIndex;
      m_sectionPoints = 0;
    }
  } else if (Contains(text, L"END")) {
    m_skipSection = false;
    ReportSkippedSection(m_lineIndex);
  }

  if (const StationKeywordRow* row = FindStationKeyword(text)) {
    OpenStation(row->keyword);
    return DataBlocks::NotRead;
  }

  if (Contains(text, L"COORDINATES") || Contains(text, L"MEASURE")) {
    return StartMeasuring() == Measuring::Started ? DataBlocks::Values : DataBlocks::NotRead;
  }

  if (Contains(text, L"NORMAL REFLECTOR") || Contains(text, L"REFLECT FOIL")) {
    m_survey.reflector = true;
  } else if (Contains(text, L"NO REFLECTOR")) {
    m_survey.reflector = false;
  } else if (Contains(text, L"INPUT VALUES")) {
    return DataBlocks::InputValues;
  }
  return DataBlocks::Values;
}
