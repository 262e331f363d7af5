// The plug-in's import and m5import's layout detection read every known file the same way:
// the corpus, the bundled examples and the golden inputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/layout/point_records.h"
#include "platform/input_file.h"
#include "tests/support/corpus.h"
#include "text/line_cursor.h"

namespace {

namespace fs = std::filesystem;
using m5::text::EncodingSetting;

std::vector<fs::path> SurveysIn(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".dat") {
      files.push_back(entry.path());
    }
  }
  return files;
}

std::vector<fs::path> KnownFiles() {
  std::vector<fs::path> files = SurveysIn(fs::path(M5_SOURCE_DIR) / "examples");
  const std::vector<fs::path> golden = SurveysIn(fs::path(M5_SOURCE_DIR) / "tests" / "golden");
  files.insert(files.end(), golden.begin(), golden.end());
  if (const auto corpus = m5test::CorpusFiles()) {
    files.insert(files.end(), corpus->begin(), corpus->end());
  }
  return files;
}

// The driver's reading of a file: its bytes as the platform reads them, decided under the
// setting.
m5::text::DecidedReading ImportReading(const std::string& bytes, EncodingSetting setting) {
  return m5::text::CLineCursor(bytes, setting).Decided();
}

TEST(Readings, ImportAndLayoutDetectionAgreeOnEveryKnownFile) {
  const std::vector<fs::path> files = KnownFiles();
  ASSERT_GT(files.size(), 20u);
  for (const fs::path& path : files) {
    SCOPED_TRACE(path.string());
    const auto bytes = m5::platform::ReadWholeFile(path.wstring());
    ASSERT_TRUE(bytes);
    std::string error;
    const auto detected = m5host::ReadPointRecords(path.string(), error);
    ASSERT_TRUE(detected) << error;
    // The hint after an import reads only the start of a file, and must read it alike.
    const auto hinted = m5host::ReadPointRecords(path.string(), error, 1);
    ASSERT_TRUE(hinted) << error;

    const EncodingSetting proposed =
        m5host::ChoiceFor(detected->kind) == m5host::EncodingChoice::Utf8
            ? EncodingSetting::Unicode
            : EncodingSetting::Win1251;
    const m5::text::DecidedReading imported = ImportReading(*bytes, proposed);
    EXPECT_EQ(detected->reading, imported.reading);
    EXPECT_EQ(hinted->reading, imported.reading);
    const bool marked = detected->kind == m5host::TextKind::Utf8Mark ||
                        detected->kind == m5host::TextKind::Utf16Mark;
    EXPECT_EQ(marked, imported.markLength != 0);
    if (marked) {
      // What the host calls marked reads alike under either setting.
      EXPECT_EQ(ImportReading(*bytes, EncodingSetting::Win1251).reading, imported.reading);
      EXPECT_EQ(ImportReading(*bytes, EncodingSetting::Unicode).reading, imported.reading);
    }
  }
}

}  // namespace
