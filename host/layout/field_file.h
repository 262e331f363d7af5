// What kind of field file a survey file is, told by its records, so that m5import can say
// why the plug-in refuses a file of another instrument: a digital level's levelling lines,
// or a total station of another series whose set-ups the 3600 import does not know.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace m5host {

enum class FieldFileKind {
  SetUps,             // the set-up records the import knows (STAT. KNWN. PNT., ...)
  DigitalLevel,       // text records of type TO: levelling lines
  OtherTotalStation,  // set-ups as another series marks them (KN STAT, POLAR, OR.COOR)
  Unknown,            // M5 lines, but nothing that tells
};

struct FieldFile {
  FieldFileKind kind = FieldFileKind::Unknown;
  std::string evidence;  // the record that tells, as the file writes it ("TO", "KN STAT")
};

// From the file's bytes, read as the import reads them.
FieldFile JudgeFieldFile(std::string_view bytes);

// From the start of the file; nothing when it cannot be read.
std::optional<FieldFile> ReadFieldFile(const std::string& path);

// One sentence on what the file is and why the import refuses it; empty for SetUps.
std::string DescribeRefusal(const FieldFile& file);

}  // namespace m5host
