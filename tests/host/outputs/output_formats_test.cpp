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
  std::vector<std::string> said = notes.All();
  for (const OutputNotes::Located& note : notes.AllLocated()) {
    said.push_back(note.file + ": " + note.text);
  }
  return {out.str(), said};
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
      {"csv", Placed("-2+3", 1, 2), "'-2+3", "csv: name \"-2+3\" written as"},
      {"csv", Placed("+1", 1, 2), "'+1", "csv: name \"+1\" written as"},
      {"pnezd", Placed("A\r\n1", 1, 2), "A  1,", "pnezd: point ID \"A\\r\\n1\" written as"},
      {"pnezd", Placed("=A1", 1, 2), "'=A1,", "pnezd: point ID \"=A1\" written as"},
      {"dxf", Placed("7", 1, 2, "kerb stone"), "KERB_STONE",
       "dxf: code \"kerb stone\" written as \"layer KERB_STONE\""},
      {"dxf", Placed("8", 1, 2, "RAYS"), "RAYS_2", "written as \"layer RAYS_2\""},
      // Cyrillic in the drawing's code page, Windows-1251; a layer name in capitals.
      {"dxf", Placed("9", 1, 2, "труба 2"), "\n\xD2\xD0\xD3\xC1\xC0_2\n",
       "dxf: code \"труба 2\" written as \"layer ТРУБА_2\""},
      {"dxf", Placed("Пикет 中", 1, 2), "\n\xCF\xE8\xEA\xE5\xF2 \\U+4E2D\n",
       "dxf: point ID \"Пикет 中\" written as \"Пикет \\U+4E2D\""},
      {"landxml", Placed("a\x01<b", 1, 2), "name=\"a &lt;b\"", "landxml: point ID \"a\\x01<b\""},
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

  // Every length column names its unit, coordinates too.
  options = {};
  options.length = LengthUnit::UsSurveyFoot;
  const std::string header = Write("csv", {}, options).text;
  EXPECT_EQ(header.substr(0, header.find("\r\n")),
            "file,station,role,name,code,kind,flag,hz_rad,v_rad,sd_usft,hd_usft,dh_usft,th_usft,"
            "northing_usft,easting_usft,elevation_usft,ih_usft,temperature_c,pressure_hpa,"
            "computed_northing_usft,computed_easting_usft,computed_elevation_usft");
}

// The layers of the drawing's POINTs, in order.
std::vector<std::string> PointLayers(const std::string& dxf) {
  std::vector<std::string> layers;
  for (std::size_t at = dxf.find("\nPOINT\n  8\n"); at != std::string::npos;
       at = dxf.find("\nPOINT\n  8\n", at + 1)) {
    const std::size_t begin = at + 11;
    layers.push_back(dxf.substr(begin, dxf.find('\n', begin) - begin));
  }
  return layers;
}

TEST(OutputFormats, CodesNeverShareADxfLayer) {
  struct Case {
    std::vector<std::string> codes;
    std::vector<std::string> layers;
  };
  const std::string longCode(40, 'A');
  const Case cases[] = {
      {{"a b", "A_B", "a-b"}, {"A_B", "A_B_2", "A-B"}},
      {{"kerb", "KERB", "Kerb"}, {"KERB", "KERB_2", "KERB_3"}},
      {{"труба", "ТРУБА"}, {"\xD2\xD0\xD3\xC1\xC0", "\xD2\xD0\xD3\xC1\xC0_2"}},
      {{longCode, longCode + "B"}, {std::string(31, 'A'), std::string(29, 'A') + "_2"}},
      {{"STATIONS", "0"}, {"STATIONS_2", "0_2"}},
  };
  for (const Case& c : cases) {
    std::vector<SurveyPoint> points;
    for (const std::string& code : c.codes) {
      points.push_back(Placed("P", 1, 2, code));
    }
    const std::vector<std::string> layers = PointLayers(Write("dxf", Survey(points)).text);
    ASSERT_EQ(layers.size(), c.layers.size() + 1) << c.codes[0];
    EXPECT_EQ(layers[0], "STATIONS");
    for (std::size_t i = 0; i < c.layers.size(); ++i) {
      EXPECT_EQ(layers[i + 1], c.layers[i]) << c.codes[i];
    }
  }
}

// A foot is 0.3048 m, a US survey foot 1200/3937 m: 1200 m are 3937 US ft, and the document
// names the unit its numbers are in.
TEST(OutputFormats, LandXmlLengthsInTheNamedUnit) {
  struct Case {
    LengthUnit unit;
    const char* linearUnit;
    const char* point;
  };
  const Case cases[] = {
      {LengthUnit::Metre, "linearUnit=\"meter\"", ">1200 1200 100<"},
      {LengthUnit::Foot, "linearUnit=\"foot\"", ">3937.00787 3937.00787 328.08399<"},
      {LengthUnit::UsSurveyFoot, "linearUnit=\"USSurveyFoot\"", ">3937 3937 328.08333<"},
  };
  for (const Case& c : cases) {
    OutputOptions options;
    options.length = c.unit;
    const std::string xml = Write("landxml", Survey({Placed("1", 1200, 1200)}), options).text;
    EXPECT_NE(xml.find(c.linearUnit), std::string::npos) << xml;
    EXPECT_NE(xml.find(c.point), std::string::npos) << xml;
  }
}

// The schema requires an instrument height: without one in the file, 0 and a note that says so.
TEST(OutputFormats, LandXmlInstrumentHeight) {
  auto files = Survey({});
  const std::string unknown = Write("landxml", files).text;
  EXPECT_NE(unknown.find("stationName=\"S1\" instrumentHeight=\"0\">\n"
                         "      <InstrumentPoint pntRef=\"S1\"/>\n"
                         "      <FieldNote>instrument height not recorded"),
            std::string::npos)
      << unknown;
  files[0].setups[0].station->instrumentHeight = 1.55;
  const std::string known = Write("landxml", files).text;
  EXPECT_NE(known.find("instrumentHeight=\"1.55\""), std::string::npos);
  EXPECT_EQ(known.find("FieldNote"), std::string::npos);
}

}  // namespace
}  // namespace m5host

namespace m5host {
namespace {

// A target 10 m north of the station at 1000/2000, whose coordinates the instrument also
// recorded 3 cm off: every format marks the computed place beside the recorded one, and
// the difference is a warning at the file.
TEST(OutputFormats, ComputedPointsAreMarkedAndChecked) {
  SurveyPoint target = Record(Role::Target, "7", "KERB");
  target.horizontalDirection = 0.0;
  target.horizontalDistance = 10.0;
  const auto files = Survey({target, Placed("7", 1010.03, 2000.0)});
  struct Case {
    const char* format;
    const char* computed;  // in the output
  };
  const Case cases[] = {
      {"text", "  1010.000  2000.000           computed\n"},
      {"json", "\"computed\": {\n              \"x\": 1010,\n              \"y\": 2000\n"},
      {"csv", ",1010,2000,\r\n"},
      {"geojson",
       "[2000, 1010]}, \"properties\": {\"name\": \"7\", \"code\": \"KERB\", \"role\": "
       "\"target\", \"station\": \"S1\", \"file\": \"day.dat\", \"source\": "
       "\"computed\"}"},
      {"landxml",
       "<CgPoints name=\"computed\" desc=\"computed from the observations by the "
       "polar reduction\">\n    <CgPoint name=\"7\" code=\"KERB\">1010 2000</CgPoint>"},
      {"dxf", "POINT\n  8\nCOMPUTED\n 10\n2000\n 20\n1010\n"},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    OutputNotes notes;
    FindOutputFormat(c.format)->write(out, files, {}, notes);
    EXPECT_NE(out.str().find(c.computed), std::string::npos) << c.format << "\n" << out.str();
    // The check comes first.
    ASSERT_FALSE(notes.AllLocated().empty()) << c.format;
    EXPECT_EQ(notes.AllLocated().front().file, "day.dat");
    EXPECT_EQ(notes.AllLocated().front().text,
              "point 7: computed from its observation 0.030 m from the instrument's coordinates "
              "(north -0.030, east +0.000), more than the tolerance of 0.005 m");
  }
  OutputOptions loose;
  loose.tolerance = 0.031;
  OutputNotes notes;
  std::ostringstream out;
  FindOutputFormat("csv")->write(out, files, loose, notes);
  EXPECT_TRUE(notes.AllLocated().empty());
}

}  // namespace
}  // namespace m5host
