#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "host/cli/input_files.h"
#include "host/cli/output_file.h"
#include "tests/support/temp_folder.h"

namespace m5host {
namespace {

std::string Contents(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::size_t Entries(const std::filesystem::path& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}

TEST(InputFiles, UnreadableOnesAreNamedAndLeftOut) {
  const m5test::TempFolder folder;
  const std::string good = folder.Write("good.dat", "x").string();
  const std::string missing = (folder.Path() / "missing.dat").string();
  const std::string directory = folder.Path().string();

  testing::internal::CaptureStderr();
  const InputFiles inputs({good, missing, directory, good});
  const std::string complaints = testing::internal::GetCapturedStderr();

  EXPECT_EQ(inputs.Read(), InputsRead::NotAll);
  EXPECT_EQ(inputs.PluginPaths().size(), 2u);
  EXPECT_EQ(inputs.Files()[1].readPath, good);
  EXPECT_NE(complaints.find("cannot read " + missing + ": "), std::string::npos) << complaints;
  EXPECT_NE(complaints.find("cannot read " + directory + ": "), std::string::npos) << complaints;
}

#ifndef _WIN32
TEST(InputFiles, FileThatOpensButCannotBeReadIsNamedWithTheReason) {
  testing::internal::CaptureStderr();
  const InputFiles inputs({"/proc/self/mem"});
  const std::string complaints = testing::internal::GetCapturedStderr();
  EXPECT_EQ(inputs.Read(), InputsRead::NotAll);
  EXPECT_EQ(complaints, "m5import: cannot read /proc/self/mem: Input/output error\n");
}

TEST(InputFiles, FifoIsReadOnceIntoACopyShownUnderItsName) {
  const m5test::TempFolder folder;
  const std::string fifo = (folder.Path() / "day.dat").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  std::thread writer([&fifo] { std::ofstream(fifo, std::ios::binary) << "survey"; });
  std::string copy;
  {
    const InputFiles inputs({fifo, fifo});
    writer.join();
    ASSERT_EQ(inputs.Files().size(), 2u);
    copy = inputs.Files()[0].readPath;
    EXPECT_EQ(inputs.Files()[1].readPath, copy);  // named twice, read once
    EXPECT_EQ(inputs.Files()[0].shownName, fifo);
    EXPECT_EQ(Contents(copy), "survey");
  }
  EXPECT_FALSE(std::filesystem::exists(copy));
}
#endif

TEST(InputFiles, NameThatIsNotUtf8KeepsItsBytes) {
  if constexpr (sizeof(wchar_t) == 2) {
    GTEST_SKIP() << "file names are UTF-16 here";
  }
  const m5test::TempFolder folder;
  const std::string name = folder.Write("plan\xFF\xC3.dat", "x").string();
  const InputFiles inputs({name});
  EXPECT_EQ(inputs.Read(), InputsRead::All);
  ASSERT_EQ(inputs.PluginPaths().size(), 1u);
  EXPECT_NE(inputs.PluginPaths()[0].find(L"plan\xDCFF\xDCC3.dat"), std::wstring::npos);
}

TEST(OutputFile, FileIsPutInPlaceOnlyWhenFinished) {
  const m5test::TempFolder folder;
  const std::filesystem::path target = folder.Write("out.csv", "last good survey");
  std::string error;
  {
    const auto output = OutputFile::Open(target.string(), error);
    ASSERT_TRUE(output) << error;
    output->Stream() << "half a survey";
  }  // a run that never finished
  EXPECT_EQ(Contents(target), "last good survey");
  EXPECT_EQ(Entries(folder.Path()), 1u);

  const auto output = OutputFile::Open(target.string(), error);
  ASSERT_TRUE(output) << error;
  output->Stream() << "new survey";
  EXPECT_FALSE(output->Finish());
  EXPECT_EQ(Contents(target), "new survey");
  EXPECT_EQ(Entries(folder.Path()), 1u);
}

TEST(OutputFile, FailuresSayWhereAndWhy) {
  const m5test::TempFolder folder;
  std::string error;
  const std::string nowhere = (folder.Path() / "no folder" / "out.csv").string();
  EXPECT_FALSE(OutputFile::Open(nowhere, error));
  EXPECT_NE(error.find("cannot write " + nowhere + ": "), std::string::npos) << error;

  if (!std::filesystem::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full";
  }
  const auto full = OutputFile::Open(std::string("/dev/full"), error);
  ASSERT_TRUE(full) << error;
  full->Stream() << "a survey";
  const std::optional<std::string> failure = full->Finish();
  ASSERT_TRUE(failure);
  EXPECT_NE(failure->find("cannot write /dev/full: "), std::string::npos) << *failure;
}

}  // namespace
}  // namespace m5host
