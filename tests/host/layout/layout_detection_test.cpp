#include "host/layout/layout_detection.h"

#include <gtest/gtest.h>

#include <climits>

#include "host/layout/field_file.h"
#include "host/layout/point_records.h"
#include "tests/support/corpus.h"

namespace m5host {
namespace {

// A point-identification text with each piece at its 1-based column.
std::wstring Text(std::initializer_list<std::pair<int, const wchar_t*>> pieces) {
  std::wstring text(kPointIdWidth, L' ');
  for (const auto& [column, piece] : pieces) {
    text.replace(column - 1, std::wstring(piece).size(), piece);
  }
  return text;
}

const std::vector<std::wstring> kTimed = {Text({{1, L"S1"}, {15, L"CP"}, {23, L"08:41"}}),
                                          Text({{1, L"BS1"}, {15, L"CP"}, {23, L"08:43"}}),
                                          Text({{1, L"101"}, {15, L"BLDG"}, {23, L"08:45"}}),
                                          Text({{1, L"102"}, {15, L"KERB"}, {24, L"9:02"}})};
const std::vector<std::wstring> kRightAligned = {
    Text({{11, L"0"}, {26, L"22"}}), Text({{11, L"10"}, {24, L"6181"}}),
    Text({{11, L"10"}, {20, L"108-3327"}}), Text({{11, L"0"}, {27, L"5"}})};
const std::vector<std::wstring> kPacked = {Text({{16, L"1100CONTR"}}), Text({{16, L"1101CONTR"}}),
                                           Text({{16, L"11020067R"}}), Text({{16, L"1111   A6"}}),
                                           Text({{16, L"1112   A6"}}), Text({{19, L"0A"}}),
                                           Text({{16, L"1120A6SOS"}})};
const std::vector<std::wstring> kOnlyNames = {Text({{1, L"P1"}}), Text({{1, L"P22"}}),
                                              Text({{1, L"P333"}})};

TEST(LayoutDetection, ProposesWhereNameAndCodeLie) {
  const struct {
    const char* what;
    std::vector<std::wstring> texts;
    FieldLayout expected;
  } cases[] = {
      {"code in 8 characters, then the time", kTimed, {1, 14, 15, 8}},
      // A record keyed in by hand has no time; the others still place it.
      {"the time in most records, not all",
       {kTimed[0], kTimed[1], kTimed[2], kTimed[3], Text({{1, L"103"}, {15, L"KERB"}})},
       {1, 14, 15, 8}},
      {"a code, then a name right-aligned", kRightAligned, {16, 12, 1, 15}},
      {"name and code written together", kPacked, {1, 19, 20, 8}},
      {"names only", kOnlyNames, {1, 15, 16, 12}},
      {"names up to the last column but one", {std::wstring(26, L'N'), L"P1"}, {1, 26, 27, 1}},
      {"names from the second column", {L" " + std::wstring(26, L'N'), L" P1"}, {2, 26, 1, 1}},
      {"names over all 27 characters", {std::wstring(27, L'N'), L"P1"}, {1, 26, 27, 1}},
  };
  for (const auto& c : cases) {
    const LayoutProposal proposal = ProposeLayout(c.texts);
    ASSERT_TRUE(proposal.layout) << c.what;
    const FieldLayout& got = *proposal.layout;
    EXPECT_EQ(std::make_tuple(got.nameStart, got.nameLength, got.codeStart, got.codeLength),
              std::make_tuple(c.expected.nameStart, c.expected.nameLength, c.expected.codeStart,
                              c.expected.codeLength))
        << c.what;
    EXPECT_FALSE(proposal.notes.empty()) << c.what;
    // What the detector proposes fits the file it came from.
    EXPECT_EQ(JudgeLayout(c.texts, got), LayoutFit::Fits) << c.what;
  }
}

TEST(LayoutDetection, ProposesNothingWithoutText) {
  EXPECT_FALSE(ProposeLayout({}).layout);
  EXPECT_FALSE(ProposeLayout({L"", L"     "}).layout);
  EXPECT_FALSE(ProposeLayout({Text({{23, L"08:41"}})}).layout);
}

TEST(LayoutDetection, JudgesALayoutInUse) {
  const struct {
    const char* what;
    std::vector<std::wstring> texts;
    FieldLayout layout;
    LayoutFit expected;
  } cases[] = {
      {"the defaults on names, codes and times", kTimed, {}, LayoutFit::Fits},
      {"the defaults on right-aligned names",
       {Text({{26, L"12"}}), Text({{27, L"3"}}), Text({{11, L"A"}, {27, L"1"}})},
       {},
       LayoutFit::NamesEmpty},
      {"a name cut short",
       {Text({{1, L"POINTA"}}), Text({{1, L"POINTB"}})},
       {1, 3, 4, 10},
       LayoutFit::CutMidWord},
      {"a code cut short", kTimed, {1, 14, 16, 7}, LayoutFit::CutMidWord},
      {"digits beside letters", kPacked, {1, 19, 20, 8}, LayoutFit::Fits},
      {"settings far out of range",
       kTimed,
       {INT_MAX, INT_MAX, INT_MIN, INT_MAX},
       LayoutFit::NamesEmpty},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JudgeLayout(c.texts, c.layout), c.expected) << c.what;
  }
}

std::string Line(const std::string& info) {
  return "For M5|Adr 00001|" + info + "|SD 1.0 m |\r\n";
}

std::string Utf16Le(const std::string& ascii) {
  std::string bytes;
  for (const char c : ascii) {
    bytes += c;
    bytes += '\0';
  }
  return bytes;
}

std::string Utf16Be(const std::string& ascii) {
  std::string bytes;
  for (const char c : ascii) {
    bytes += '\0';
    bytes += c;
  }
  return bytes;
}

// A transfer that broke off half-way through a 16-bit character.
std::string CutOffLastByte(std::string bytes) {
  bytes.pop_back();
  return bytes;
}

TEST(PointRecords, ReadsEveryEncodingAndLineEnd) {
  const std::string two = Line("PI1 P1            CP") + Line("TI  MEASURE") + Line("KD1 P2");
  const struct {
    const char* what;
    std::string bytes;
    TextKind kind;
    EncodingChoice choice;
    std::vector<std::wstring> texts;
  } cases[] = {
      {"ASCII", two, TextKind::Ascii, EncodingChoice::Win1251, {L"P1            CP", L"P2"}},
      {"LF and lone CR",
       "For M5|A|PI1 P1\nFor M5|A|PI1 P2\rFor M5|A|PI1 P3\r\n",
       TextKind::Ascii,
       EncodingChoice::Win1251,
       {L"P1", L"P2", L"P3"}},
      {"UTF-8 mark",
       "\xEF\xBB\xBF" + Line("PI1 \xD0\xA2\x31"),
       TextKind::Utf8Mark,
       EncodingChoice::Utf8,
       {L"\u04221"}},
      {"UTF-8", Line("PI1 \xD0\xA2\x31"), TextKind::Utf8, EncodingChoice::Utf8, {L"\u04221"}},
      {"Windows-1251",
       Line("PI1 \xD2\x31") + "\x1A" + Line("PI1 P9"),
       TextKind::Windows1251,
       EncodingChoice::Win1251,
       {L"\u04221"}},
      {"UTF-16 without a mark",
       Utf16Le(two),
       TextKind::Utf16,
       EncodingChoice::Utf8,
       {L"P1            CP", L"P2"}},
      {"UTF-16 without a mark, cut at an odd byte",
       CutOffLastByte(Utf16Le(Line("PI1 P1") + "For M5|A|KR1 P2 X")),
       TextKind::Utf16,
       EncodingChoice::Utf8,
       {L"P1", L"P2 \uFFFD"}},
      {"UTF-16 big-endian mark",
       "\xFE\xFF" + Utf16Be(two),
       TextKind::Utf16Mark,
       EncodingChoice::Utf8,
       {L"P1            CP", L"P2"}},
      {"UTF-16 beyond 16 bits",
       "\xFF\xFE" + Utf16Le("For M5|A|PI1 ") + std::string("\x3D\xD8\x00\xDE", 4) + Utf16Le("X|"),
       TextKind::Utf16Mark,
       EncodingChoice::Utf8,
       {L"\U0001F600X"}},
      {"a point record without text",
       Line("PI1") + "END\r\n",
       TextKind::Ascii,
       EncodingChoice::Win1251,
       {L""}},
      {"a text longer than 27 characters",
       Line("PI1 " + std::string(30, 'x')),
       TextKind::Ascii,
       EncodingChoice::Win1251,
       {std::wstring(27, L'x')}},
  };
  for (const auto& c : cases) {
    const PointRecords records = ScanPointRecords(c.bytes);
    EXPECT_EQ(records.kind, c.kind) << c.what;
    EXPECT_EQ(ChoiceFor(records.kind), c.choice) << c.what;
    EXPECT_EQ(records.texts, c.texts) << c.what;
    EXPECT_EQ(records.stopLine, 0) << c.what;
  }
}

// The start of a long file, cut where the hint's sample ends: inside a line end or a character.
TEST(PointRecords, SampleCutInsideALineEndOrACharacter) {
  const struct {
    const char* what;
    std::string bytes;
    TextKind kind;
    std::vector<std::wstring> texts;
  } cases[] = {
      {"UTF-16 between the bytes of a LF",
       CutOffLastByte(Utf16Le(Line("PI1 P1") + Line("PI1 P2"))),
       TextKind::Utf16,
       {L"P1", L"P2"}},
      {"UTF-16 inside a line",
       Utf16Le(Line("PI1 P1") + "For M5|A|PI1 P"),
       TextKind::Utf16,
       {L"P1"}},
      {"UTF-8 inside a character",
       Line("PI1 \xD0\xA2\x31") + "For M5|A|PI1 \xD0",
       TextKind::Utf8,
       {L"\u04221"}},
  };
  for (const auto& c : cases) {
    const PointRecords records = ScanPointRecords(c.bytes, 0, SampleEnd::Cut);
    EXPECT_EQ(records.kind, c.kind) << c.what;
    EXPECT_EQ(records.texts, c.texts) << c.what;
    EXPECT_EQ(records.stopLine, 0) << c.what;
  }
}

TEST(PointRecords, StopWhereAnImportStops) {
  const PointRecords records =
      ScanPointRecords(Line("PI1 P1") + "\r\nFor R5|Adr 0001|KR1 P2|\r\n" + Line("PI1 P3"));
  EXPECT_EQ(records.texts, (std::vector<std::wstring>{L"P1"}));
  EXPECT_EQ(records.stopLine, 3);
  EXPECT_EQ(ScanPointRecords(Line("PI1 P1") + Line("PI1 P2"), 1).texts.size(), 1u);
}

}  // namespace
}  // namespace m5host

namespace m5host {
namespace {

// What a file refused as a whole is, told by its records.
TEST(FieldFile, ToldByItsRecords) {
  const struct {
    std::string bytes;
    FieldFileKind kind;
    const char* evidence;
  } cases[] = {
      {Line("TI  STAT. KNWN. PNT.") + Line("PI1 P1"), FieldFileKind::SetUps, ""},
      {Line("TO  080625.dat") + Line("KD1 P1"), FieldFileKind::DigitalLevel, "TO"},
      {Line("TI  KN STAT") + Line("TI  POLAR"), FieldFileKind::OtherTotalStation, "KN STAT"},
      {Line("TI  OR.COOR") + Line("TI  FREE STATIONING"), FieldFileKind::SetUps, ""},
      {Line("PI1 P1"), FieldFileKind::Unknown, ""},
  };
  for (const auto& c : cases) {
    const FieldFile file = JudgeFieldFile(c.bytes);
    EXPECT_EQ(file.kind, c.kind) << c.bytes;
    EXPECT_EQ(file.evidence, c.evidence) << c.bytes;
  }
  EXPECT_EQ(DescribeRefusal({FieldFileKind::SetUps, ""}), "");
}

// Every public file the import refuses as another instrument's is told as one.
TEST(FieldFile, PublicFilesOfOtherInstruments) {
  const auto corpus = m5test::CorpusFiles();
  if (!corpus) {
    GTEST_SKIP() << "no corpus";
  }
  for (const auto& path : *corpus) {
    if (path.extension() == ".r5") {
      continue;  // not M5 at all: the import stops at its first line
    }
    const std::optional<FieldFile> file = ReadFieldFile(path.u8string());
    ASSERT_TRUE(file) << path;
    const bool level = path.extension() == ".dat";
    EXPECT_EQ(file->kind, level ? FieldFileKind::DigitalLevel : FieldFileKind::OtherTotalStation)
        << path;
  }
}

}  // namespace
}  // namespace m5host
