// The import driver through the exported factory: files written here, a recording host.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "resources/string_ids.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/support/messages.h"
#include "tests/support/recording_host.h"
#include "tests/support/settings_store.h"
#include "tests/support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kCannotOpen = m5test::ErrorCall(m5::msg::kCannotOpenFile);
const std::string kWrongFormat = m5test::ErrorCall(m5::msg::kWrongFileFormat);
const std::string kWrongMode = m5test::ErrorCall(m5::msg::kWrongImportMode);

// A file list that writes down how the driver walks it.
class TracingFileList : public m5test::FileList {
 public:
  using FileList::FileList;
  bool IsValid() override {
    calls.push_back("IsValid");
    return FileList::IsValid();
  }
  void Next() override {
    calls.push_back("Next");
    FileList::Next();
  }
  const wchar_t* Current() override {
    calls.push_back("Current");
    return FileList::Current();
  }
  void Reset() override {
    calls.push_back("Reset");
    FileList::Reset();
  }
  std::vector<std::string> calls;
};

void Import(m5test::RecordingSink& sink, const std::vector<std::wstring>& paths, int codeStr = 0) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  ASSERT_TRUE(plugin);
  m5test::SettingsStore store{{L"CodeStr", codeStr}};
  plugin->LoadSettings(&store);
  m5test::FileList files(paths);
  plugin->Import(&files, &sink);
}

// The driver's own calls: files, lines, progress and the cannot-open message. What the
// parser sends in between is its own business.
std::vector<std::string> DriverCalls(const m5test::RecordingSink& sink) {
  std::vector<std::string> out;
  for (const std::string& call : sink.Calls()) {
    const bool driver = call.rfind("BeginFile(", 0) == 0 || call.rfind("SetProgress(", 0) == 0 ||
                        (call.rfind("SetCurrentLine(", 0) == 0 && call != "SetCurrentLine(-1)") ||
                        call == kCannotOpen;
    if (driver) {
      out.push_back(call);
    }
  }
  return out;
}

std::string BeginFile(const std::wstring& path) {
  std::string quoted;
  for (const char c : m5test::ToUtf8(path)) {
    quoted += c == '\\' ? "\\\\" : std::string(1, c);
  }
  return "BeginFile(\"" + quoted + "\")";
}

int LinesParsed(const m5test::RecordingSink& sink) {
  const std::vector<std::string> calls = DriverCalls(sink);
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [](const std::string& call) {
    return call.rfind("SetCurrentLine(", 0) == 0;
  }));
}

std::ptrdiff_t IndexOf(const m5test::RecordingSink& sink, const std::string& call) {
  const auto& calls = sink.Calls();
  const auto at = std::find(calls.begin(), calls.end(), call);
  return at == calls.end() ? -1 : at - calls.begin();
}

TEST(DriverImport, WalksTheFileListInOrder) {
  m5test::RecordingSink sink;
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());

  TracingFileList none(std::vector<std::wstring>{});
  plugin->Import(&none, &sink);
  EXPECT_EQ(none.calls, (std::vector<std::string>{"Reset", "IsValid"}));
  EXPECT_TRUE(sink.Calls().empty());

  m5test::TempFolder folder;
  TracingFileList two(
      {folder.Write("a.dat", "END\n").wstring(), folder.Write("b.dat", "END\n").wstring()});
  plugin->Import(&two, &sink);
  EXPECT_EQ(two.calls, (std::vector<std::string>{"Reset", "IsValid", "Current", "Next", "IsValid",
                                                 "Current", "Next", "IsValid"}));
}

TEST(DriverImport, SurvivesMissingListOrSink) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  m5test::RecordingSink sink;
  m5test::FileList files({L"x.dat"});
  plugin->Import(nullptr, &sink);
  plugin->Import(&files, nullptr);
  plugin->Import(nullptr, nullptr);
  EXPECT_TRUE(sink.Calls().empty());
}

TEST(DriverImport, ReportsEachLineAndItsProgress) {
  m5test::TempFolder folder;
  const std::wstring path = folder.Write("three.dat", "END\nEND\nEND\n").wstring();
  m5test::RecordingSink sink;
  Import(sink, {path});
  EXPECT_EQ(DriverCalls(sink), (std::vector<std::string>{
                                   BeginFile(path), "SetCurrentLine(0)", "SetProgress(33.333332)",
                                   "SetCurrentLine(1)", "SetProgress(66.666664)",
                                   "SetCurrentLine(2)", "SetProgress(100)", "SetProgress(100)"}));
  EXPECT_EQ(sink.OutstandingReferences(), 0);
  EXPECT_EQ(sink.OverReleases(), 0);
}

TEST(DriverImport, CountsLinesAsEachReadingSeesThem) {
  struct LineCase {
    const char* name;
    std::string bytes;
    int ansiLines;
    int unicodeLines;
  };
  const std::string le = "\xFF\xFE"s + "E\0N\0D\0|\0\x1A\x04\r\0\n\0"s;
  const std::vector<LineCase> cases = {
      {"empty file", "", 0, 0},
      {"CR LF", "END\r\nEND\r\n", 2, 2},
      {"LF", "END\nEND\n", 2, 2},
      {"CR only", "END\rEND\r", 2, 2},
      {"CR, CR LF and LF", "END\rEND\r\nEND\n\r\r\nEND", 6, 6},
      {"empty middle line", "END\n\nEND\n", 3, 3},
      {"last line without line end", "END\r\nEND", 2, 2},
      {"0x1A ends an 8-bit file", "END\r\nEND|\x1A\r\nEND\r\n", 2, 3},
      {"UTF-8 with a Cyrillic K", "END|\xD0\x9A\r\nEND|\xD0\x9A\r\nEND", 3, 3},
      {"UTF-16 with a Cyrillic K", "", -1, 3},
  };
  m5test::TempFolder folder;
  for (const LineCase& c : cases) {
    const std::string bytes = c.ansiLines < 0 ? le + le.substr(2) + le.substr(2) : c.bytes;
    const std::wstring path = folder.Write("lines.dat", bytes).wstring();
    for (const int codeStr : {0, 1, -5}) {
      const int expected = codeStr == 0 ? c.ansiLines : c.unicodeLines;
      if (expected < 0) {
        continue;
      }
      m5test::RecordingSink sink;
      Import(sink, {path}, codeStr);
      EXPECT_EQ(LinesParsed(sink), expected) << c.name << ", encoding " << codeStr;
      EXPECT_EQ(sink.Calls().back(), "SetProgress(100)") << c.name << ", encoding " << codeStr;
    }
  }
}

TEST(DriverImport, ReportsAFileItCannotOpenAndGoesOn) {
  m5test::TempFolder folder;
  const std::wstring missing = (folder.Path() / "missing.dat").wstring();
  const std::wstring directory = (folder.Path() / "folder.dat").wstring();
  fs::create_directories(directory);
  const std::wstring good = folder.Write("good.dat", "END\n").wstring();
  for (const int codeStr : {0, 1}) {
    m5test::RecordingSink sink;
    Import(sink, {missing, directory, good}, codeStr);
    EXPECT_EQ(DriverCalls(sink),
              (std::vector<std::string>{BeginFile(missing), kCannotOpen, BeginFile(directory),
                                        kCannotOpen, BeginFile(good), "SetCurrentLine(0)",
                                        "SetProgress(100)", "SetProgress(100)"}))
        << "encoding " << codeStr;
    // Nothing between the cannot-open message and the next file.
    EXPECT_EQ(sink.Calls()[1], kCannotOpen);
    EXPECT_EQ(sink.Calls()[2], BeginFile(directory));
  }
}

TEST(DriverImport, FinishesAFileWithoutLines) {
  m5test::TempFolder folder;
  const std::wstring path = folder.Write("empty.dat", "").wstring();
  m5test::RecordingSink sink;
  Import(sink, {path});
  EXPECT_EQ(DriverCalls(sink), (std::vector<std::string>{BeginFile(path), "SetProgress(100)"}));
  if (IndexOf(sink, kWrongMode) < 0) {
    GTEST_SKIP() << "the parser does not report a file without stations yet";
  }
  EXPECT_LT(IndexOf(sink, kWrongMode), IndexOf(sink, "SetProgress(100)"));
}

TEST(DriverImport, StopsAFileAtALineThatIsNotM5) {
  m5test::TempFolder folder;
  const std::wstring bad =
      folder.Write("bad.dat", "END\nEND\nEND\nEND\ngarbage\nEND\nEND\nEND\nEND\nEND\n").wstring();
  const std::wstring next = folder.Write("next.dat", "END\n").wstring();
  m5test::RecordingSink sink;
  Import(sink, {bad, next});
  if (IndexOf(sink, kWrongFormat) < 0) {
    GTEST_SKIP() << "the parser does not reject lines yet";
  }
  EXPECT_EQ(DriverCalls(sink),
            (std::vector<std::string>{
                BeginFile(bad), "SetCurrentLine(0)", "SetProgress(10)", "SetCurrentLine(1)",
                "SetProgress(20)", "SetCurrentLine(2)", "SetProgress(30)", "SetCurrentLine(3)",
                "SetProgress(40)", "SetCurrentLine(4)", "SetProgress(100)", BeginFile(next),
                "SetCurrentLine(0)", "SetProgress(100)", "SetProgress(100)"}));
  // Finish was not called on the bad file: its end-of-file message would come before next.
  const std::ptrdiff_t wrongMode = IndexOf(sink, kWrongMode);
  EXPECT_TRUE(wrongMode < 0 || wrongMode > IndexOf(sink, BeginFile(next)));
  EXPECT_LT(IndexOf(sink, kWrongFormat), IndexOf(sink, BeginFile(next)));
  EXPECT_EQ(sink.OutstandingReferences(), 0);
}

// A UTF-16 file read as Windows-1251 text is cut at its first zero byte and rejected.
// The mark decides the reading: either setting reads the same two lines.
TEST(DriverImport, ReadsUtf16WithAMarkUnderEitherSetting) {
  m5test::TempFolder folder;
  const std::wstring path =
      folder.Write("utf16.dat", "\xFF\xFE"s + "E\0N\0D\0\r\0\n\0E\0N\0D\0\r\0\n\0"s).wstring();
  for (const int codeStr : {0, 1}) {
    m5test::RecordingSink sink;
    Import(sink, {path}, codeStr);
    EXPECT_EQ(IndexOf(sink, kWrongFormat), -1) << "encoding " << codeStr;
    EXPECT_EQ(LinesParsed(sink), 2) << "encoding " << codeStr;
  }
}

// A character that is not text in its reading reaches the host as U+FFFD, so a value with
// a NUL inside is not read at all rather than read short, and two names stay apart. The
// user is told once, on the first such line.
TEST(DriverImport, WarnsOnceOfMalformedCharactersAndCutsNothing) {
  const std::string a1 =
      "For M5|Adr 00002|PI1 A1            CP      09:00|X         100.000 m   |"
      "Y         200.000 m   |Z          10.000 m   | \r\n";
  std::string nulInNameAndX = a1;
  nulInNameAndX.replace(nulInNameAndX.find("100.000"), 7,
                        "1\0"
                        "0.000"s);
  nulInNameAndX.replace(nulInNameAndX.find("A1 "), 3,
                        "A\0"
                        "1"s);
  std::string nulInCode = a1;
  nulInCode.replace(nulInCode.find("A1 "), 3, "A2 ");
  nulInCode.replace(nulInCode.find("CP "), 3, "C\0 "s);
  const std::string bytes =
      "For M5|Adr 00001|TI  STAT. KNWN. PNT.           |\r\n" + nulInNameAndX + a1 + nulInCode;
  const std::string kMalformed = m5test::WarningCall(m5::msg::kMalformedText);
  m5test::TempFolder folder;
  const std::wstring path = folder.Write("nuls.dat", bytes).wstring();
  for (const int codeStr : {0, 1}) {
    m5test::RecordingSink sink;
    Import(sink, {path}, codeStr);
    const auto& calls = sink.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), kMalformed), 1) << "encoding " << codeStr;
    const std::ptrdiff_t warning = IndexOf(sink, kMalformed);
    ASSERT_GT(warning, 0) << "encoding " << codeStr;
    EXPECT_EQ(calls[static_cast<std::size_t>(warning) - 1], "SetCurrentLine(1)");
    for (const char* call : {"AddTarget(\"A\uFFFD"
                             "1\")",
                             "AddPoint(\"A1\")", "SetCode(\"C\uFFFD      09:00\")"}) {
      EXPECT_NE(IndexOf(sink, call), -1) << call << ", encoding " << codeStr;
    }
    EXPECT_EQ(IndexOf(sink, "SetX(1)"), -1) << "encoding " << codeStr;
  }
}

// A 0x1A ends 8-bit text; text after it (two transfers joined) is named on the last line
// read, padding is not. Padding ends every reading quietly.
TEST(DriverImport, NamesTextLeftAfterTheEndMarkOnTheLastLineRead) {
  struct EndMarkCase {
    const char* name;
    std::string bytes;
    int codeStr;
    std::string lineBeforeWarning;  // empty: no warning
  };
  const std::vector<EndMarkCase> cases = {
      {"text after a line end",
       "END\r\n\x1A\x1A"
       "END\r\n",
       0, "SetCurrentLine(0)"},
      {"text on the same line",
       "END\r\nEND\x1A"
       "END",
       0, "SetCurrentLine(1)"},
      {"no line before",
       "\x1A"
       "END\r\n",
       0, "SetCurrentLine(-1)"},
      {"padding and blank lines", "END\r\n\x1A\x1A\r\n", 0, ""},
      {"UTF-8 padding", "END\r\nEND\r\n\x1A\x1A", 1, ""},
      {"UTF-16 padding", "E\0N\0D\0\r\0\n\0\x1A"s, 1, ""},
  };
  m5test::TempFolder folder;
  for (const EndMarkCase& c : cases) {
    const std::wstring path = folder.Write("mark.dat", c.bytes).wstring();
    m5test::RecordingSink sink;
    Import(sink, {path}, c.codeStr);
    const auto& calls = sink.Calls();
    EXPECT_EQ(IndexOf(sink, kWrongFormat), -1) << c.name;
    const auto warning = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
      return call.rfind(m5test::WarningCall(m5::msg::kRestNotRead).substr(0, 60), 0) == 0;
    });
    EXPECT_EQ(warning != calls.end(), !c.lineBeforeWarning.empty()) << c.name;
    if (warning != calls.end() && warning != calls.begin()) {
      EXPECT_EQ(*(warning - 1), c.lineBeforeWarning) << c.name;
    }
  }
}

}  // namespace
