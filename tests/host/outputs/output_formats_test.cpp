#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "host/outputs/output_registry.h"

namespace m5host {
namespace {

SurveyPoint Record(Role role, const char* name, std::optional<std::string> code = std::nullopt) {
  SurveyPoint p;
  p.role = role;
  p.name = name;
  p.code = std::move(code);
  return p;
}

SurveyPoint Placed(const char* name, double x, double y,
                   std::optional<std::string> code = std::nullopt) {
  SurveyPoint p = Record(Role::Point, name, std::move(code));
  p.x = x;
  p.y = y;
  p.z = 100.0;
  return p;
}

// One set-up with the station at 1000/2000 and the given observations.
std::vector<FileSurvey> Survey(std::vector<SurveyPoint> observations) {
  FileSurvey file;
  file.path = "day.dat";
  StationSetup setup;
  setup.station = Placed("S1", 1000.0, 2000.0, "CP");
  setup.station->role = Role::Station;
  setup.observations = std::move(observations);
  file.setups.push_back(std::move(setup));
  return {file};
}

struct Written {
  std::string text;
  std::vector<std::string> notes;
};

Written Write(const char* format, const std::vector<FileSurvey>& files,
              const OutputOptions& options = {}) {
  std::ostringstream out;
  OutputNotes notes;
  FindOutputFormat(format)->write(out, files, options, notes);
  return {out.str(), notes.All()};
}

TEST(OutputFormats, PointsTakeTheCodeOfTheirMeasurement) {
  const auto files =
      Survey({Record(Role::Target, "101", "BLDG"), Placed("101", 1.0, 2.0), Placed("102", 3.0, 4.0),
              Record(Role::Target, "102", "KERB"), Placed("103", 5.0, 6.0, "OWN"),
              Record(Role::Target, "103", "TREE"), Placed("104", 7.0, 8.0),
              // The nearest measurement before a point, else the first after it.
              Record(Role::Target, "105", "A"), Placed("105", 9.0, 1.0), Placed("106", 9.0, 3.0),
              Record(Role::Target, "105", "B"), Record(Role::Target, "106", ""),
              Record(Role::Target, "106", "C"), Placed("105", 9.0, 2.0),
              Record(Role::Target, "106", "D")});
  const std::string pnezd = Write("pnezd", files).text;
  EXPECT_NE(pnezd.find("105,9.000,1.000,100.000,A\r\n106,9.000,3.000,100.000,C\r\n"
                       "105,9.000,2.000,100.000,B\r\n"),
            std::string::npos);
  EXPECT_NE(pnezd.find("101,1.000,2.000,100.000,BLDG\r\n"), std::string::npos) << pnezd;
  EXPECT_NE(pnezd.find("102,3.000,4.000,100.000,KERB\r\n"), std::string::npos);  // after it
  EXPECT_NE(pnezd.find("103,5.000,6.000,100.000,OWN\r\n"), std::string::npos);
  EXPECT_NE(pnezd.find("104,7.000,8.000,100.000,\r\n"), std::string::npos);
  EXPECT_NE(Write("geojson", files).text.find("\"name\": \"101\", \"code\": \"BLDG\""),
            std::string::npos);
}

TEST(OutputFormats, ChangesToFitAFormatAreNoted) {
  struct Case {
    const char* format;
    SurveyPoint point;
    const char* written;
    const char* note;
  };
  const Case cases[] = {
      {"csv", Placed("=1+1", 1, 2), "'=1+1", "csv: name \"=1+1\" written as \"'=1+1\""},
      {"csv", Placed("5", 1, 2, "@SUM"), "'@SUM", "csv: code \"@SUM\""},
      {"pnezd", Placed("A,1", 1, 2), "A 1,", "pnezd: point ID \"A,1\" written as"},
      {"dxf", Placed("7", 1, 2, "kerb stone"), "KERB_STONE",
       "dxf: code \"kerb stone\" written as \"layer KERB_STONE\""},
      {"dxf", Placed("8", 1, 2, "RAYS"), "RAYS_2", "written as \"layer RAYS_2\""},
      {"landxml", Placed("a\x01<b", 1, 2), "name=\"a &lt;b\"", "landxml: point ID \"a\\u0001<b\""},
  };
  for (const Case& c : cases) {
    const Written written = Write(c.format, Survey({c.point}));
    EXPECT_NE(written.text.find(c.written), std::string::npos) << written.text;
    ASSERT_EQ(written.notes.size(), 1u) << c.written;
    EXPECT_NE(written.notes[0].find(c.note), std::string::npos) << written.notes[0];
  }
}

TEST(OutputFormats, AChangeIsNotedOnceNotPerRow) {
  auto files = Survey({Placed("1", 1, 2), Placed("2", 3, 4), Placed("3", 5, 6)});
  files[0].setups[0].station->name = "=S";
  const Written written = Write("csv", files);
  std::set<std::string> distinct(written.notes.begin(), written.notes.end());
  EXPECT_EQ(distinct.size(), written.notes.size());
  EXPECT_FALSE(written.notes.empty());
}

TEST(OutputFormats, PointIdsWrittenTwiceAreNoted) {
  const auto files = Survey({Placed("101", 1, 2), Placed("101", 1, 2), Placed("S1", 5, 5)});
  for (const char* format : {"pnezd", "landxml"}) {
    const Written written = Write(format, files);
    ASSERT_EQ(written.notes.size(), 2u);
    EXPECT_NE(written.notes[0].find("point ID \"S1\" written 2 times"), std::string::npos);
    EXPECT_NE(written.notes[1].find("point ID \"101\" written 2 times"), std::string::npos);
  }
}

TEST(OutputFormats, CsvOptions) {
  OutputOptions options;
  options.delimiter = ';';
  options.header = HeaderRow::Omitted;
  options.bom = ByteOrderMark::Written;
  options.length = LengthUnit::Foot;
  options.angles = AngleUnit::Gon;
  SurveyPoint target = Record(Role::Target, "1;2");
  target.horizontalDirection = 3.14159265358979323846;
  target.slopeDistance = 3.048;
  const std::string csv = Write("csv", Survey({target}), options).text;
  EXPECT_EQ(csv.rfind("\xEF\xBB\xBF"
                      "day.dat;S1;station;S1;CP;",
                      0),
            0u)
      << csv;
  EXPECT_NE(csv.find(";target;\"1;2\";;;;200;;10;"), std::string::npos) << csv;

  const std::string header = Write("csv", {}).text;
  EXPECT_EQ(header.substr(0, header.find("\r\n")),
            "file,station,role,name,code,kind,flag,hz_rad,v_rad,sd_m,hd_m,dh_m,th_m,northing,"
            "easting,elevation,ih_m,temperature_c,pressure_hpa");
}

}  // namespace
}  // namespace m5host
