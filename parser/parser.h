// CParser: one M5 file's lines in, stations, points and observations out to the host.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <locale>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "parser/collected_station.h"
#include "parser/line_ledger.h"
#include "parser/point_record.h"
#include "parser/record_layout.h"
#include "parser/station_phase.h"
#include "sdk/host_interfaces.h"
#include "values/converter_state.h"
#include "values/field_tables.h"
#include "values/white_space.h"

class CParser {
 public:
  // Thrown after a message that stops the file (a line that is not M5, or one written by
  // early software); the parser has reported the message already.
  struct FatalError {};

  // Borrows the sink for the parser's life and asks it for the host's converters.
  CParser(IMeasurementSink* sink, const m5::RecordLayout& layout);
  ~CParser();
  CParser(const CParser&) = delete;
  CParser& operator=(const CParser&) = delete;

  // Lines come in file order, 0-based. Throws FatalError.
  void ParseLine(int lineIndex, const std::wstring& line);
  // End of the file: flushes the last station.
  void Finish();

 private:
  // The next field of the line (parser.cpp) up to the following separator, which is passed over.
  // Without a separator the rest of the line is the field; after that every field is empty.
  std::wstring_view NextField();

  using PointRecord = m5::PointRecord;
  using RecordPtr = m5::PointRecordPtr;

  // What a line's data blocks hold, as its information block says.
  enum class DataBlocks {
    NotRead,
    // Values of the line's point, or of the station and the survey.
    Values,
    // Values the surveyor entered: "th" sets the target height, "ih" names no station.
    InputValues,
    // Not read, and a message on the line names its record already (a point without a name).
    NotReadRecordNamed,
  };
  // Whether a COORDINATES or MEASURE record started measuring.
  enum class Measuring {
    Started,
    // No station was chosen: the order of work is broken, and nothing changes.
    NoStation,
  };
  // What becomes of the line's point record after its line; the line's entry forgets it
  // unless it stays current.
  enum class LineRecord {
    // It is the station, or height stationing holds it until the next point record.
    StaysCurrent,
    // An observation of the station now, or not kept.
    Released,
  };

  // The information block (info_block.cpp).
  DataBlocks ParseInfoBlock(std::wstring_view block);
  DataBlocks ParsePointRecord(std::wstring_view text);
  DataBlocks ParseTextRecord(std::wstring_view text);
  void CheckRecordTime(std::wstring_view text);
  RecordPtr NewRecord();

  // The data blocks (data_blocks.cpp), each with its fate for the line's ledger.
  void ReadDataBlocks(DataBlocks blocks);
  m5::BlockFate ParseDataBlock(std::wstring_view block, DataBlocks blocks);
  m5::BlockFate ReadBlockValue(const m5::TypeCodeRow& row, DataBlocks blocks);
  // A block of a line whose blocks are not read; a point's values in a skipped section are
  // counted by the section's message.
  m5::BlockFate FateOfBlockNotRead(std::wstring_view block, bool countedBySection);
  static bool HoldsValue(const m5::DataBlockFields& fields);
  bool EndsInUnit(std::wstring_view value) const;
  // Names, in one warning on the line, the blocks that gave nothing and no message names.
  void ReportUnaccountedBlocks();
  static constexpr int kNoUnit = -2;
  // Selects the unit's converter; its row, kNoUnit for a block without a unit, or -1 for a
  // unit text the table does not know.
  int SelectUnit(std::wstring_view unit);
  // Delivered when the block's unit can read a value of its type; when not, Named where a
  // message names the unit now (once per file or pair), else UnitUnfit.
  m5::BlockFate UnitFate(int unit, std::wstring_view unitText, const m5::TypeCodeRow& row);
  bool ReadValue(m5::Quantity quantity, const std::wstring& text, double& value);
  // Names a unit the table does not know, once per file; true when it did now.
  bool ReportUnknownUnit(std::wstring_view unit);
  // Names a unit of another quantity than its block's, once per block type and unit text;
  // true when it did now.
  bool ReportUnitOfAnotherQuantity(std::wstring_view unit, const m5::TypeCodeRow& row);

  // The station's state machine (station_state.cpp): the phase's transitions, the choice of
  // the station point, the line's record after its line, the flush.
  void OpenStation(m5::StationKeyword keyword);
  Measuring StartMeasuring();
  void ApplyOrientation();
  // "ih" and "Om" on a point line, with their value texts.
  m5::BlockFate InstrumentHeightOnPoint(const std::wstring& text);
  m5::BlockFate OrientationOnPoint(const std::wstring& text);
  void StoreInstrumentHeight(double height);
  RecordPtr FindPendingWithCoordinates(const PointRecord& record);
  // Decides on m_current after its line's data blocks; the caller forgets a released one.
  LineRecord CommitPoint();
  // The line's current record, kept by height stationing, is lost when nothing commits it.
  void ReportCurrentRecordLost();
  void CloseHeightStationing();
  void FlushStation();
  // The next station starts from nothing but the survey's values.
  void ReplaceStation();

  // What a flush sends to the host (send_station.cpp).
  void SendStation();
  void SendObservations();
  // AddStation with the air values, which every station is sent with.
  void AnnounceStation(const wchar_t* name);
  void SendInstrumentHeight();
  std::wstring MakeDefaultStationName();
  void EmitPoint(const RecordPtr& record);
  void SetPointKindOnce(const PointRecord& record, int kind);

  // Messages of the current line (parser.cpp), from the string table.
  void ReportError(unsigned int id);
  void ReportWarning(unsigned int id);
  void ReportWarning(unsigned int id, const std::wstring& argument);
  void ReportWarning(unsigned int id, std::initializer_list<std::wstring_view> arguments);
  // A warning about another line than the one being parsed: the host is moved there for it.
  void ReportWarningOnLine(std::int32_t line, unsigned int id,
                           std::initializer_list<std::wstring_view> arguments);
  // A warning naming a point record that does not reach the host, filed under the record's
  // own line.
  void ReportRecordNotImported(unsigned int id, const PointRecord& record);
  // A skipped section that lost point records is named on the line that opened it; endLine
  // is where it closed, or -1 when it ran to the end of the file.
  void ReportSkippedSection(std::int32_t endLine);
  // A fatal line: the station collected so far is sent, then the file stops.
  [[noreturn]] void StopFile(unsigned int id);
  // A message that belongs to the file, not to one line.
  void ReportFileError(unsigned int id);

  IMeasurementSink* m_sink;  // borrowed
  // White space as the user's locale classifies it, taken once for the file.
  std::locale m_locale;
  m5::CWhiteSpace m_isSpace;
  std::int32_t m_lineIndex = -1;
  // The line the host files messages under: the driver's current line, or -1 after a
  // message about the whole file.
  std::int32_t m_hostLine = -1;
  // Released after every point record, which the members below hold.
  m5::CConverterState m_converters;
  m5::RecordLayout m_layout;
  // The trimmed line being parsed, a view into the caller's text: valid only during
  // ParseLine, so nothing kept past a line may point into it.
  std::wstring_view m_line;
  std::size_t m_fieldStart = 0;  // where NextField continues in m_line
  m5::CFieldTables m_fieldTables;
  std::wstring m_blockValue;  // the current block's value text, its buffer reused
  // What became of each data block of the line being parsed.
  m5::CLineLedger m_ledger;
  // The current block's unit cannot read its value (unknown, or of another quantity).
  bool m_unitUnreadable = false;
  // Unit texts already reported as unknown, so each is named once per file; and type code
  // and unit pairs of another quantity.
  std::set<std::wstring> m_reportedUnits;
  std::set<std::wstring> m_reportedMismatches;
  // Inside a section between a START and an END text record: no data block is read.
  bool m_skipSection = false;
  // The line that opened the section, and the point records with values it skipped.
  std::int32_t m_sectionLine = -1;
  std::size_t m_sectionPoints = 0;
  m5::StationPhase m_phase = m5::StationPhase::None;
  bool m_stationKeywordSeen = false;
  // The file's first flush that finds nothing to send, at its first station keyword as a
  // rule, sends no default station either.
  bool m_firstFlush = true;
  m5::SurveyValues m_survey;
  m5::CollectedStation m_station;
  // The point record of the line; it may stay current past its line as the station or
  // during height stationing.
  RecordPtr m_current;
  // Records of flushed stations that nothing else holds, emptied and handed out again so
  // that a point line allocates nothing once the first station has gone.
  std::vector<RecordPtr> m_spareRecords;
  // Names the host already has as plain points (kind 0).
  std::set<std::wstring> m_kindZeroNames;
  bool m_timeWarningShown = false;
  std::int32_t m_defaultStationCount = 0;
};
