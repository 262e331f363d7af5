#include "parser/parser.h"

// Placeholder until the line reader is built.
CParser::CParser(IMeasurementSink*, const ImportSettings&) {}
CParser::~CParser() = default;
void CParser::ParseLine(int, const std::wstring&) {}
void CParser::Finish() {}
