// Decoding a whole line gives, character by character, what decoding each byte alone
// gives, wherever the ASCII and Cyrillic stretches begin and end.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/codepage.h"

namespace {

TEST(CodepageRuns, LineDecodesAsItsBytes) {
  std::mt19937 random(11);
  for (int round = 0; round < 500; ++round) {
    std::string line;
    const std::size_t size = random() % 70;
    while (line.size() < size) {
      // ASCII stretches of any length with single or clustered high bytes between them.
      const bool ascii = random() % 3 != 0;
      const std::size_t length = 1 + random() % 12;
      for (std::size_t i = 0; i < length; ++i) {
        line += static_cast<char>(ascii ? random() % 0x80 : 0x80 + random() % 0x80);
      }
    }
    std::wstring expected = L"prefix";
    for (const char byte : line) {
      expected += m5::platform::AnsiToWide(std::string(1, byte));
    }
    std::wstring decoded = L"prefix";
    m5::platform::AppendAnsiToWide(line.data(), line.size(), decoded);
    ASSERT_EQ(decoded, expected) << "round " << round;
  }
}

}  // namespace
