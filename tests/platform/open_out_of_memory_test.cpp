// A survey file whose opening runs out of the run-time's memory is reported as exhausted
// memory, never as a file that cannot be opened. The C library's fopen is replaced in this
// program: it fails with ENOMEM while the switch is on and opens as usual otherwise.
#if !defined(_WIN32)

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <new>
#include <string>

#include "platform/input_file.h"
#include "tests/support/temp_folder.h"

namespace {

std::atomic<bool> g_openRunsOutOfMemory{false};

using OpenFunction = std::FILE* (*)(const char*, const char*);

std::FILE* Open(const char* name, const char* path, const char* mode) {
  if (g_openRunsOutOfMemory) {
    errno = ENOMEM;
    return nullptr;
  }
  const auto next = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, name));
  return next != nullptr ? next(path, mode) : nullptr;
}

}  // namespace

extern "C" std::FILE* fopen(const char* path, const char* mode) {
  return Open("fopen", path, mode);
}
extern "C" std::FILE* fopen64(const char* path, const char* mode) {
  return Open("fopen64", path, mode);
}

namespace {

using m5::platform::ReadWholeFile;

TEST(InputFile, OpeningOutOfMemoryIsExhaustedMemoryNotAnUnreadableFile) {
  const m5test::TempFolder folder;
  const std::wstring path = folder.Write("survey.dat", "For M5|\r\n").wstring();
  ASSERT_EQ(ReadWholeFile(path), std::optional<std::string>("For M5|\r\n"));
  g_openRunsOutOfMemory = true;
  EXPECT_THROW(ReadWholeFile(path), std::bad_alloc);
  g_openRunsOutOfMemory = false;
  EXPECT_EQ(ReadWholeFile((folder.Path() / "missing.dat").wstring()), std::nullopt);
}

}  // namespace

#endif
