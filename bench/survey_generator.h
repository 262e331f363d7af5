// Realistic M5 field files of any size, for benchmarks and stress tests: station set-ups
// with their text records, point records with three data blocks in gon or DMS and metres
// or feet, input values, some Cyrillic point names, CR LF line ends.
#pragma once

#include <cstddef>
#include <string>

namespace m5bench {

enum class Encoding { Win1251, Utf16LittleEndian };

// What a transfer or a hand edit does to the data blocks of a file.
enum class BlockDamage {
  None,
  // Now and then a block, on point, station and input-value lines alike, gets a comma for
  // its decimal point, a letter O for a digit, its blanks removed or turned into tabs, an
  // exponent beyond any number, or white space after its unit.
  Some,
};

// The bytes of a file of `lines` lines, or a few more: a station's set-up is never cut.
std::string GenerateSurvey(std::size_t lines, Encoding encoding,
                           BlockDamage damage = BlockDamage::None);

// One station measuring every target of the file, each measurement followed by the record
// of its coordinates, as a long radial survey is recorded: hard on anything that looks a
// target up among its station's records. Windows-1251, CR LF line ends.
std::string GenerateOneStation(std::size_t lines);

// A file no instrument writes, hard on the station logic: no station keyword, and every
// measured point between a fresh orientation on the same point and a MEASURE record, so all
// of them wait for one station until the end. Cycles of four lines: "Om" on S, a point with
// Hz, SD and V1, a point with X, Y and Z, MEASURE; `lines` is rounded up to whole cycles.
// Windows-1251 bytes (ASCII only), CR LF line ends.
std::string GenerateOrientationChain(std::size_t lines);

}  // namespace m5bench
