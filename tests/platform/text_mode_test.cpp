// Reading a file in text mode gives what the C run-time's text mode gives on Windows,
// however the CRs, LFs and 0x1A bytes fall; a file with a byte-order mark comes as it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>

#include "platform/input_file.h"

namespace {

using m5::platform::FileMode;
using m5::platform::ReadWholeFile;

// The run-time's rule, one byte at a time.
std::string RunTimeTextMode(const std::string& bytes) {
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\x1A') {
      break;
    }
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      continue;
    }
    out += bytes[i];
  }
  return out;
}

class TextModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // CTest runs the cases side by side: each gets a file of its own.
    m_path = std::filesystem::temp_directory_path() /
             ("m5_text_mode_" +
              std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
              std::to_string(std::random_device{}()) + ".dat");
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove(m_path, ignored);
  }
  std::optional<std::string> ReadAsText(const std::string& bytes) {
    std::ofstream(m_path, std::ios::binary | std::ios::trunc) << bytes;
    return ReadWholeFile(m_path.wstring(), FileMode::Text);
  }

  std::filesystem::path m_path;
};

TEST_F(TextModeTest, LineEndsAndEndOfInput) {
  struct Case {
    const char* name;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"CR LF becomes LF", "For M5\r\nEND\r\n", "For M5\nEND\n"},
      {"a lone CR stays", "a\rb\n", "a\rb\n"},
      {"CR CR LF keeps the first CR", "a\r\r\nb", "a\r\nb"},
      {"CR at the very end stays", "a\r", "a\r"},
      {"CR right before 0x1A stays", std::string("a\r\x1A\n", 4), "a\r"},
      {"0x1A ends the input", std::string("Hz 1\n\x1AHz 2\n", 11), "Hz 1\n"},
      {"NUL bytes pass", std::string("F\0o\r\n\0", 6), std::string("F\0o\n\0", 5)},
      {"only CRs", "\r\r\r", "\r\r\r"},
      {"empty", "", ""},
      // A marked file is Unicode: U+041A holds 0x1A, and CR LF bytes may be parts of letters.
      {"UTF-16 mark keeps every byte", std::string("\xFF\xFE\x1A\x04\r\0\n\0", 8),
       std::string("\xFF\xFE\x1A\x04\r\0\n\0", 8)},
      {"UTF-8 mark keeps every byte", "\xEF\xBB\xBFK\r\n\x1A", "\xEF\xBB\xBFK\r\n\x1A"},
      {"big-endian mark alone", "\xFE\xFF", "\xFE\xFF"},
      {"half a mark is 8-bit text", "\xEF\xBB\r\n\x1A", "\xEF\xBB\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadAsText(c.bytes), c.text) << c.name;
  }
}

TEST_F(TextModeTest, MatchesTheRunTimeOnMixedBytes) {
  // Long runs between CRs and bursts of them, over several read chunks.
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
    ASSERT_EQ(ReadAsText(bytes), RunTimeTextMode(bytes)) << "round " << round;
  }
}

}  // namespace
