// The line a warning about a computed point names: the record of its observation, found by
// the point's name and how many observations of that name came before it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "host/layout/observation_line.h"

namespace {

using m5host::FieldLayout;
using m5host::ObservationLine;
using m5host::ScanPointRecords;

// Line 1 is a station; lines 2-6 observe and record 201, 202 and 201 again; line 7 observes
// 203 by a horizontal distance under the alternative tag E; line 8 names 204 with angles only.
const std::string kSurvey =
    "For M5|Adr 00001|PI1 S2            CP      10:02|X        2000.000 m   |\r\n"
    "For M5|Adr 00002|PI1 201           FENCE   10:05|SD         30.012 m   |\r\n"
    "For M5|Adr 00003|PI1 201           FENCE   10:05|X        2021.221 m   |\r\n"
    "For M5|Adr 00004|PI1 202           FENCE   10:06|HD         25.000 m   |\r\n"
    "For M5|Adr 00005|TI  MEASURE                    |                      |\r\n"
    "For M5|Adr 00006|PI1 201           FENCE   10:09|Hz        50.2 gon    |D   30.412 m |\r\n"
    "For M5|Adr 00007|PI1 203           FENCE   10:10|E          12.000 m   |\r\n"
    "For M5|Adr 00008|PI1 204           FENCE   10:11|Hz        50.2 gon    |\r\n";

TEST(ObservationLine, IsTheSameOccurrenceOfTheNameAmongRecordsWithADistance) {
  const auto records = ScanPointRecords(kSurvey);
  struct Row {
    const char* name;
    std::size_t occurrence;
    std::optional<int> line;  // from 0
  };
  for (const Row& row :
       {Row{"201", 0, 1}, Row{"201", 1, 5}, Row{"201", 2, 1}, Row{"202", 0, 3}, Row{"203", 0, 6},
        Row{"204", 0, std::nullopt}, Row{"S2", 0, std::nullopt}, Row{"20", 0, std::nullopt}}) {
    EXPECT_EQ(ObservationLine(records, FieldLayout{}, row.name, row.occurrence), row.line)
        << row.name << " #" << row.occurrence;
  }
}

TEST(ObservationLine, CutsNamesAsTheLayoutPlacesThem) {
  const auto records = ScanPointRecords(kSurvey);
  // The code read as the name: FENCE is what the import names these points.
  EXPECT_EQ(ObservationLine(records, FieldLayout{15, 8, 1, 14}, "FENCE", 1), 3);
  // A name field outside the text names nothing.
  EXPECT_EQ(ObservationLine(records, FieldLayout{40, 8, 1, 14}, "201", 0), std::nullopt);
}

}  // namespace
