// CParser: one M5 file's lines in, stations, points and observations out to the host.
#pragma once

#include <string>

#include "import/import_settings.h"
#include "sdk/host_interfaces.h"

class CParser {
 public:
  // Thrown after a message that stops the file (a line that is not M5, or one written by
  // early software); the parser has reported the message already.
  struct FatalError {};

  // Borrows the sink for the parser's life and asks it for the host's converters.
  CParser(IMeasurementSink* sink, const ImportSettings& settings);
  ~CParser();
  CParser(const CParser&) = delete;
  CParser& operator=(const CParser&) = delete;

  // Lines come in file order, 0-based. Throws FatalError.
  void ParseLine(int lineIndex, const std::wstring& line);
  // End of the file: flushes the last station.
  void Finish();
};
