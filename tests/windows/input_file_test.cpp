// Survey files read through the C run-time: every byte as on disk, shared access, wide names.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/input_file.h"

namespace {

using m5::platform::ReadWholeFile;

// A folder of its own under the user's temporary folder, removed with its files.
class InputFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1];
    ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
    m_folder = std::wstring(temp) + L"m5-input-" + std::to_wstring(GetCurrentProcessId());
    ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr) ||
                GetLastError() == ERROR_ALREADY_EXISTS);
  }

  void TearDown() override {
    for (const std::wstring& file : m_files) {
      DeleteFileW(file.c_str());
    }
    RemoveDirectoryW(m_folder.c_str());
  }

  std::wstring Write(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = m_folder + L"\\" + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    m_files.push_back(path);
    return path;
  }

  std::wstring m_folder;
  std::vector<std::wstring> m_files;
};

// The bytes as they are: line ends, 0x1A and marks are the text library's to read.
TEST_F(InputFileTest, ReadsEveryByteAsItIs) {
  const std::string files[] = {
      "For M5\r\nEND\r\n",
      std::string("Hz 1\r\n\x1A"
                  "Hz 2\n",
                  12),
      std::string("\xFF\xFE\x1A\x04\r\0\n\0", 8),
      "",
  };
  for (const std::string& bytes : files) {
    EXPECT_EQ(ReadWholeFile(Write(L"case.dat", bytes)), bytes);
  }
}

TEST_F(InputFileTest, OpensCyrillicNames) {
  const std::wstring path = Write(L"Съёмка №1.dat", "For M5\r\n");
  EXPECT_EQ(ReadWholeFile(path), "For M5\r\n");
}

TEST_F(InputFileTest, ReadsAFileAnotherProgramIsStillWriting) {
  const std::wstring path = Write(L"transfer.dat", "For M5\r\n");
  HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_EQ(ReadWholeFile(path), "For M5\r\n");
  CloseHandle(writer);
}

TEST_F(InputFileTest, MissingFilesAndFoldersGiveNothing) {
  EXPECT_EQ(ReadWholeFile(m_folder + L"\\absent.dat"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(m_folder), std::nullopt);
  EXPECT_EQ(ReadWholeFile(L""), std::nullopt);
}

}  // namespace
