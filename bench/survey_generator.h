// Realistic M5 field files of any size, for benchmarks and stress tests: station set-ups
// with their text records, point records with three data blocks in gon or DMS and metres
// or feet, input values, some Cyrillic point names, CR LF line ends.
#pragma once

#include <cstddef>
#include <string>

namespace m5bench {

enum class Encoding { Win1251, Utf16LittleEndian };

// The bytes of a file of `lines` lines, or a few more: a station's set-up is never cut.
std::string GenerateSurvey(std::size_t lines, Encoding encoding);

}  // namespace m5bench
