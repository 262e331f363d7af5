// The readings as pure functions: a file's bytes and the setting in, its lines out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/input_file.h"
#include "tests/support/corpus.h"
#include "tests/support/recording_host.h"
#include "text/decoders.h"
#include "text/line_cursor.h"
#include "text/reading.h"

namespace {

using LineList = std::vector<std::wstring>;
using m5::text::EncodingSetting;
using m5::text::Reading;
using namespace std::string_literals;

const std::string kUtf8Mark = "\xEF\xBB\xBF";
const std::string kLittleEndianMark = "\xFF\xFE";
const std::string kBigEndianMark = "\xFE\xFF";

struct ReadingCase {
  const char* name;
  std::string bytes;
  LineList lines;
  // The line the user is told of malformed characters on, at most one per file.
  std::vector<std::size_t> warned = {};
  // Bytes a 0x1A in the middle left unread.
  std::size_t unread = 0;
};

// Readable failures: every line in UTF-8 with its wchar_t values when not ASCII.
std::string Show(const LineList& lines) {
  std::string out;
  for (const std::wstring& line : lines) {
    out += "[" + m5test::ToUtf8(line) + "]";
    for (const wchar_t ch : line) {
      if (ch < 0x20 || ch > 0x7E) {
        out += " " + std::to_string(static_cast<unsigned long>(ch));
      }
    }
    out += "\n";
  }
  return out;
}

LineList Lines(const std::string& bytes, EncodingSetting setting,
               std::size_t chunkBytes = m5::text::kChunkBytes) {
  m5::text::CLineCursor cursor(bytes, setting, chunkBytes);
  LineList lines;
  for (std::size_t i = 0; i < cursor.Count(); ++i) {
    lines.push_back(cursor.Next());
  }
  return lines;
}

// The file read a chunk at a time: chunks this small put a chunk's end inside every CR LF,
// UTF-8 sequence, UTF-16 unit and surrogate pair, and on every 0x1A of the cases, and make
// their lines longer than several chunks.
constexpr std::size_t kChunkSizes[] = {1, 2, 3, 5, 7, m5::text::kChunkBytes};

LineList ReadUnicode(const std::string& bytes) {
  return Lines(bytes, EncodingSetting::Unicode);
}

// Each case through the cursor as the driver uses it: its lines, and where it would warn.
void ExpectReadings(const std::vector<ReadingCase>& cases, EncodingSetting setting) {
  for (const ReadingCase& c : cases) {
    for (const std::size_t chunkBytes : kChunkSizes) {
      m5::text::CLineCursor cursor(c.bytes, setting, chunkBytes);
      LineList got;
      std::vector<std::size_t> warned;
      for (std::size_t i = 0; i < cursor.Count(); ++i) {
        got.push_back(cursor.Next());
        if (cursor.IsFirstMalformedLine()) {
          warned.push_back(i);
        }
      }
      EXPECT_EQ(got, c.lines) << c.name << ", chunks of " << chunkBytes << "\n" << Show(got);
      EXPECT_EQ(warned, c.warned) << c.name << ", chunks of " << chunkBytes;
      EXPECT_EQ(cursor.UnreadBytes(), c.unread) << c.name << ", chunks of " << chunkBytes;
    }
  }
}

// ASCII text as UTF-16 in either byte order, for writing test files by hand.
std::string Utf16(const std::string& ascii, bool littleEndian) {
  std::string out;
  for (const char c : ascii) {
    out += littleEndian ? std::string{c, '\0'} : std::string{'\0', c};
  }
  return out;
}

TEST(Reading8Bit, SplitsLinesAsTheStationWroteThem) {
  const std::vector<ReadingCase> cases = {
      {"empty file", "", {}},
      {"one line feed", "\n", {L""}},
      {"three lines", "a\r\nb\r\nc\r\n", {L"a", L"b", L"c"}},
      {"last line without line end", "a\nb", {L"a", L"b"}},
      {"empty middle line", "a\r\n\r\nb\r\n", {L"a", L"", L"b"}},
      {"CR-only line ends", "a\rb\r", {L"a", L"b"}},
      {"CR before CR LF", "a\r\r\nb", {L"a", L"", L"b"}},
      {"LF CR is two line ends", "a\n\rb", {L"a", L"", L"b"}},
      {"CR, LF and empty lines mixed",
       "a\rb\nc\r\rd\n\ne",
       {L"a", L"b", L"c", L"", L"d", L"", L"e"}},
      {"0x1A ends the file", "Hz 1\r\n\x1AHz 2\r\n", {L"Hz 1"}, {}, 7},
      {"0x1A inside a line", "Hz 1\x1A\r\nHz 2", {L"Hz 1"}, {}, 7},
      {"CR right before 0x1A", "a\r\x1A\n", {L"a"}},
      {"0x1A padding, blank lines and NULs", "a\r\n\x1A\x1A\r\n\0\x1A"s, {L"a"}},
      {"NUL inside a value",
       "X 5\0"
       "000.000\nEND"s,
       {L"X 5\uFFFD"
        L"000.000",
        L"END"},
       {0}},
      {"NUL at line start, warned once", "y\n\0x\n\0"s, {L"y", L"\uFFFDx", L"\uFFFD"}, {1}},
      {"Cyrillic in Windows-1251", "\xCA\xF0\xE0\xE9", {L"\u041A\u0440\u0430\u0439"}},
  };
  ExpectReadings(cases, EncodingSetting::Win1251);
}

// The ANSI setting cannot read a file that says it is Unicode; the mark decides, and the
// file's line ends and 0x1A bytes are those of the Unicode reading.
TEST(Reading8Bit, ReadsAMarkedFileAsItsMarkSays) {
  const std::string k = "\x1A\x04"s;  // U+041A, little-endian
  const std::vector<ReadingCase> cases = {
      {"UTF-8 mark", kUtf8Mark + "For\r\n\xD0\x9A\rEND", {L"For", L"\u041A", L"END"}},
      {"UTF-8 mark, invalid UTF-8", kUtf8Mark + "For\r\n\xCA", {L"For", L"\uFFFD"}, {1}},
      {"little-endian mark",
       kLittleEndianMark + Utf16("For\r\n", true) + k + Utf16("\rEND", true),
       {L"For", L"\u041A", L"END"}},
      {"big-endian mark", kBigEndianMark + Utf16("For\rEND\n", false), {L"For", L"END"}},
      {"mark alone", kBigEndianMark, {}},
  };
  ExpectReadings(cases, EncodingSetting::Win1251);
}

// Every byte but the line ends and the end of the file reads as the code page says.
TEST(Reading8Bit, KeepsEveryOtherByteOfTheCodePage) {
  std::string bytes;
  for (int byte = 1; byte < 0x100; ++byte) {
    if (byte != '\r' && byte != '\n' && byte != 0x1A) {
      bytes += static_cast<char>(byte);
    }
  }
  ExpectReadings({{"bytes 01 to FF", bytes, {m5::platform::AnsiToWide(bytes)}}},
                 EncodingSetting::Win1251);
}

// The C run-time's text mode, as the 8-bit reading once had it before splitting at every CR
// and LF: CR LF became LF, 0x1A ended the input. The lines must stay those.
LineList TextModeLines(const std::string& bytes) {
  std::string text;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
      text += bytes[i];
    }
  }
  LineList lines;
  std::wstring line;
  for (const char c : text) {
    if (c == '\r' || c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<wchar_t>(c);
    }
  }
  if (!line.empty()) {
    lines.push_back(line);
  }
  return lines;
}

TEST(Reading8Bit, GivesTheLinesOfTextModeOnMixedBytes) {
  // Long runs between CRs and bursts of them, over many SSE2 blocks.
  std::mt19937 random(7);
  const char alphabet[] = {'a', 'b', '\r', '\n'};
  for (int round = 0; round < 20; ++round) {
    std::string bytes;
    const std::size_t size = 1 + random() % 200000;
    while (bytes.size() < size) {
      const bool run = random() % 2 == 0;
      const std::size_t length = run ? random() % 300 : 1 + random() % 4;
      for (std::size_t i = 0; i < length; ++i) {
        bytes += run ? 'x' : alphabet[random() % 4];
      }
    }
    if (round % 4 == 0) {
      bytes[random() % bytes.size()] = '\x1A';
    }
    ASSERT_EQ(Lines(bytes, EncodingSetting::Win1251, 1 + random() % 300), TextModeLines(bytes))
        << "round " << round;
  }
}

TEST(ReadingUnicode, DecodesUtf16InEitherByteOrder) {
  const std::string text = "For\r\nEND\r\n";
  const LineList lines = {L"For", L"END"};
  const std::vector<ReadingCase> cases = {
      {"little-endian with mark", "\xFF\xFE" + Utf16(text, true), lines},
      {"big-endian with mark", "\xFE\xFF" + Utf16(text, false), lines},
      {"little-endian without mark", Utf16(text, true), lines},
      {"big-endian without mark", Utf16(text, false), lines},
      {"LF only", Utf16("a\nb", true), {L"a", L"b"}},
      {"only a mark", "\xFF\xFE", {}},
      {"empty middle line", Utf16("a\r\n\r\nb\r\n", true), {L"a", L"", L"b"}},
      {"last line without line end", Utf16("a\r\nb", false), {L"a", L"b"}},
      {"CR-only line ends", Utf16("a\rb\r", true), {L"a", L"b"}},
      {"CR-only without mark", Utf16("For M5\rEND\r", true), {L"For M5", L"END"}},
      {"mixed line ends without mark, big-endian",
       Utf16("a\rb\r\nc\nd\r\re", false),
       {L"a", L"b", L"c", L"d", L"", L"e"}},
      {"NUL character inside a name",
       kLittleEndianMark + Utf16("PI1 A", true) + "\0\0"s + Utf16("1\r\nA1", true),
       {L"PI1 A\uFFFD"
        L"1",
        L"A1"},
       {0}},
      {"byte 0x0A inside characters, little-endian",
       kLittleEndianMark + "\x0A\x04\x41\x0A\n\0z\0"s,
       {L"\u040A\u0A41", L"z"}},
      {"byte 0x0A inside characters, big-endian",
       kBigEndianMark + "\x01\x0A\x0A\x41\0\n\0z"s,
       {L"\u010A\u0A41", L"z"}},
  };
  ExpectReadings(cases, EncodingSetting::Unicode);
}

// The letter K (U+041A) holds the byte 0x1A, which once ended the import, and a CR after
// a Cyrillic letter once merged two lines.
TEST(ReadingUnicode, KeepsCyrillicNamesWhole) {
  const std::string le = kLittleEndianMark + "\x1A\x04\x30\x04\r\0\n\0P\0\r\0\n\0"s;
  const std::string be = "\x04\x1A\x04\x30\0\r\0\n\0P"s;
  const std::string utf8 = "\xD0\x9A\xD0\xB0\r\nP\r\n";
  const LineList expected = {L"\u041A\u0430", L"P"};
  EXPECT_EQ(ReadUnicode(le), expected) << Show(ReadUnicode(le));
  EXPECT_EQ(ReadUnicode(be), expected) << Show(ReadUnicode(be));
  EXPECT_EQ(ReadUnicode(utf8), expected) << Show(ReadUnicode(utf8));
  EXPECT_EQ(ReadUnicode(kUtf8Mark + utf8), expected);
}

TEST(ReadingUnicode, ReadsUtf8WithAndWithoutMark) {
  const std::vector<ReadingCase> cases = {
      {"plain ASCII", "For M5|a\nEND\n", {L"For M5|a", L"END"}},
      {"mark removed", kUtf8Mark + "For M5\r\n", {L"For M5"}},
      {"mark alone", kUtf8Mark, {}},
      {"0x1A is a character", "a\032b\nc", {L"a\032b", L"c"}},
      {"0x1A padding ends the file", "END\r\n\x1A\x1A", {L"END"}},
      {"0x1A padding right after the text", "END\x1A", {L"END"}},
      {"four-byte character", "\xF0\x9F\x98\x80", {L"\U0001F600"}},
      {"CR-only line ends", "a\rb\r", {L"a", L"b"}},
      {"CR, CR LF and LF mixed", "a\rb\r\nc\nd\r\r\ne", {L"a", L"b", L"c", L"d", L"", L"e"}},
      {"U+FFFD written in the file is text", "\xEF\xBF\xBD", {L"\uFFFD"}},
      // Zero bytes that do not look like UTF-16 are malformed characters of UTF-8.
      {"a NUL of padding", "For M5\r\nEND\r\n\0"s, {L"For M5", L"END", L"\uFFFD"}, {2}},
      {"two NULs of padding", "For M5\r\nEND\0\0"s, {L"For M5", L"END\uFFFD\uFFFD"}, {1}},
      {"NUL inside a value",
       "X 5\0"
       "000.000"s,
       {L"X 5\uFFFD"
        L"000.000"},
       {0}},
  };
  ExpectReadings(cases, EncodingSetting::Unicode);
}

TEST(ReadingUnicode, ReplacesMalformedUtf8AndKeepsTheLine) {
  const std::vector<ReadingCase> cases = {
      {"stray continuation", "a\200b", {L"a\uFFFDb"}, {0}},
      {"overlong slash", "\xC0\xAF", {L"\uFFFD\uFFFD"}, {0}},
      {"overlong three bytes", "\xE0\x80\x80", {L"\uFFFD\uFFFD\uFFFD"}, {0}},
      {"encoded surrogate", "\xED\xA0\x80", {L"\uFFFD\uFFFD\uFFFD"}, {0}},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", {L"\uFFFD\uFFFD\uFFFD\uFFFD"}, {0}},
      {"invalid lead byte", "\377a", {L"\uFFFDa"}, {0}},
      {"truncated at end of file", "a\xE2\x82", {L"a\uFFFD"}, {0}},
      {"truncated by a letter", "\342\202a", {L"\uFFFDa"}, {0}},
      {"truncated by CR LF", "\xF0\x9F\x98\r\nb", {L"\uFFFD", L"b"}, {0}},
      {"truncated by LF", "\xD0\nb", {L"\uFFFD", L"b"}, {0}},
      {"Windows-1251 name on the third line, warned there once",
       "For\nEND\n\xCA\xF0\n\xE0",
       {L"For", L"END", L"\uFFFD\uFFFD", L"\uFFFD"},
       {2}},
  };
  ExpectReadings(cases, EncodingSetting::Unicode);
}

TEST(ReadingUnicode, ReplacesMalformedUtf16AndKeepsTheLine) {
  const std::string le = kLittleEndianMark;
  const std::vector<ReadingCase> cases = {
      {"surrogate pair", le + "\x3D\xD8\x00\xDE"s, {L"\U0001F600"}},
      {"surrogate pair big-endian", kBigEndianMark + "\xD8\x3D\xDE\x00"s, {L"\U0001F600"}},
      {"U+FFFD written in the file is text", le + "\xFD\xFF"s, {L"\uFFFD"}},
      {"lone high surrogate", le + "\0\xD8z\0"s, {L"\uFFFDz"}, {0}},
      {"lone low surrogate", le + "\0\xDCz\0"s, {L"\uFFFDz"}, {0}},
      {"high surrogate at end", le + "a\0\0\xD8"s, {L"a\uFFFD"}, {0}},
      {"high surrogate before LF", le + "\0\xD8\n\0b\0"s, {L"\uFFFD", L"b"}, {0}},
      {"odd trailing byte", le + "a\0b"s, {L"a\uFFFD"}, {0}},
      {"odd byte after last line", le + "a\0\n\0b"s, {L"a"}, {0}},
      {"0x1A padding after the last line", le + "a\0\n\0\x1A\x1A\x1A"s, {L"a"}},
      {"K big-endian before 0x1A padding", kBigEndianMark + "\x04\x1A\x1A"s, {L"\u041A"}},
      // A transfer cut at an odd byte: still 16-bit text, its last character malformed.
      {"cut without mark", Utf16("For M5\r\nEND 1", true) + "2"s, {L"For M5", L"END 1\uFFFD"}, {1}},
      {"cut without mark, big-endian",
       Utf16("For M5\r\nEND 1", false) + "\0"s,
       {L"For M5", L"END 1\uFFFD"},
       {1}},
      {"cut inside the last line end", Utf16("For M5\r\n", true) + "\r"s, {L"For M5"}, {0}},
      {"cut inside the last line end, big-endian",
       Utf16("For M5\r\nEND\r", false) + "\0"s,
       {L"For M5", L"END"},
       {1}},
  };
  ExpectReadings(cases, EncodingSetting::Unicode);
}

TEST(Reading, DecidedFromMarkOrZeroBytesAndTheSetting) {
  struct DecisionCase {
    const char* name;
    std::string bytes;
    Reading unicode;  // under the Unicode setting
    Reading win1251;
    std::size_t markLength;
  };
  const std::vector<DecisionCase> cases = {
      {"UTF-8 mark", kUtf8Mark + "a", Reading::Utf8, Reading::Utf8, 3},
      {"little-endian mark", kLittleEndianMark + "a", Reading::Utf16LittleEndian,
       Reading::Utf16LittleEndian, 2},
      {"big-endian mark", kBigEndianMark + "a", Reading::Utf16BigEndian, Reading::Utf16BigEndian,
       2},
      {"half a mark", "\xEF\xBB\r\n", Reading::Utf8, Reading::Ansi, 0},
      {"no zero byte", "abc", Reading::Utf8, Reading::Ansi, 0},
      {"empty", "", Reading::Utf8, Reading::Ansi, 0},
      {"zeros at odd offsets", Utf16("ab", true), Reading::Utf16LittleEndian, Reading::Ansi, 0},
      {"zeros at even offsets", Utf16("ab", false), Reading::Utf16BigEndian, Reading::Ansi, 0},
      {"as many of each", "\0aa\0"s, Reading::Utf8, Reading::Ansi, 0},
      {"a NUL of padding", "For\r\n\0"s, Reading::Utf8, Reading::Ansi, 0},
      {"odd byte count", Utf16("ab", true) + "c", Reading::Utf16LittleEndian, Reading::Ansi, 0},
      {"odd byte count, big-endian", Utf16("ab", false) + "\0"s, Reading::Utf16BigEndian,
       Reading::Ansi, 0},
      {"one byte", "a", Reading::Utf8, Reading::Ansi, 0},
      {"half the units", Utf16("ab", true) + "cdef", Reading::Utf8, Reading::Ansi, 0},
      {"most of the units", Utf16("abc", true) + "de", Reading::Utf16LittleEndian, Reading::Ansi,
       0},
  };
  for (const DecisionCase& c : cases) {
    const auto unicode = m5::text::DecideReading(c.bytes, EncodingSetting::Unicode);
    const auto win1251 = m5::text::DecideReading(c.bytes, EncodingSetting::Win1251);
    EXPECT_EQ(unicode.reading, c.unicode) << c.name;
    EXPECT_EQ(win1251.reading, c.win1251) << c.name;
    EXPECT_EQ(unicode.markLength, c.markLength) << c.name;
    EXPECT_EQ(win1251.markLength, c.markLength) << c.name;
  }
}

// Every scalar value survives both decoders, so nothing is lost on the way to the host.
TEST(ReadingUnicode, DecodesEveryScalarValueExactly) {
  std::wstring all;
  for (char32_t cp = 1; cp <= 0x10FFFF; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) {
      continue;
    }
    if constexpr (sizeof(wchar_t) == 2) {
      if (cp >= 0x10000) {
        all += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
        all += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        continue;
      }
    }
    all += static_cast<wchar_t>(cp);
  }

  std::wstring fromUtf8;
  EXPECT_EQ(m5::text::AppendUtf8(m5test::ToUtf8(all), fromUtf8), m5::text::Decoding::Exact);
  EXPECT_TRUE(fromUtf8 == all);

  std::string le;
  std::string be;
  std::wstring utf16;  // The same text as 16-bit units.
  for (std::size_t i = 0; i < all.size(); ++i) {
    const auto cp = static_cast<char32_t>(all[i]);
    if (cp >= 0x10000) {
      utf16 += static_cast<wchar_t>(0xD800 + ((cp - 0x10000) >> 10));
      utf16 += static_cast<wchar_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      utf16 += static_cast<wchar_t>(cp);
    }
  }
  for (const wchar_t unit : utf16) {
    const auto u = static_cast<unsigned>(unit);
    le += static_cast<char>(u & 0xFF);
    le += static_cast<char>(u >> 8);
    be += static_cast<char>(u >> 8);
    be += static_cast<char>(u & 0xFF);
  }
  std::wstring fromLe;
  std::wstring fromBe;
  EXPECT_EQ(m5::text::AppendUtf16(le, true, fromLe), m5::text::Decoding::Exact);
  EXPECT_EQ(m5::text::AppendUtf16(be, false, fromBe), m5::text::Decoding::Exact);
  EXPECT_TRUE(fromLe == all);
  EXPECT_TRUE(fromBe == all);
}

// Real files are ASCII: both readings must give exactly the file's lines.
TEST(ReadingCorpus, BothReadingsKeepEveryLine) {
  const auto files = m5test::CorpusFiles();
  if (!files) {
    GTEST_SKIP() << "no corpus at " << m5test::CorpusFolder();
  }
  for (const std::filesystem::path& path : *files) {
    const auto raw = m5::platform::ReadWholeFile(path.wstring());
    ASSERT_TRUE(raw) << path;
    std::size_t expected = static_cast<std::size_t>(std::count(raw->begin(), raw->end(), '\n'));
    if (!raw->empty() && raw->back() != '\n') {
      ++expected;
    }
    const LineList ansi = Lines(*raw, EncodingSetting::Win1251);
    const LineList unicode = ReadUnicode(*raw);
    EXPECT_EQ(ansi.size(), expected) << path;
    EXPECT_EQ(unicode, ansi) << path;
  }
  EXPECT_FALSE(files->empty());
}

}  // namespace
