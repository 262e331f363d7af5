// What the host sees when the plug-in runs out of memory or meets another failure of its
// own: the file at fault gets an error, the next file is imported, and no exception comes
// back into the host's code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <exception>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "import/failure_reason.h"
#include "import/plugin.h"
#include "resources/string_ids.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/support/failing_allocations.h"
#include "tests/support/messages.h"
#include "tests/support/property_list_view.h"
#include "tests/support/recording_host.h"
#include "tests/support/settings_store.h"
#include "tests/support/survey_lines.h"
#include "tests/support/temp_folder.h"

namespace {

using Plugin::IGroundBasedMIP;
using PluginRef = Plugin::Ref<IGroundBasedMIP>;

const std::wstring kMemoryReason = m5test::Message(m5::msg::kReasonOutOfMemory);
const std::wstring kUnknownReason = m5test::Message(m5::msg::kReasonUnknown);

TEST(Boundary, ReasonNamesWhatFailed) {
  struct Case {
    std::exception_ptr failure;
    std::wstring reason;
  };
  // On Linux the code page is a fixed table that cannot fail, so the system error of a
  // failed conversion on Windows is made here by hand.
  const Case cases[] = {
      {std::make_exception_ptr(std::bad_alloc()), kMemoryReason},
      {std::make_exception_ptr(std::bad_array_new_length()), kMemoryReason},
      {std::make_exception_ptr(
           std::system_error(static_cast<int>(0x80070459u), std::system_category(), "convert")),
       m5test::Message(m5::msg::kReasonSystemError, L"0x80070459")},
      {std::make_exception_ptr(std::system_error(5, std::system_category())),
       m5test::Message(m5::msg::kReasonSystemError, L"0x00000005")},
      {std::make_exception_ptr(std::length_error("basic_string")), kUnknownReason},
      {std::make_exception_ptr(42), kUnknownReason},
      {nullptr, kUnknownReason},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(m5::import::FailureReason(cases[i].failure), cases[i].reason);
  }
}

std::wstring Example(const char* name) {
  return m5test::FromUtf8(std::string(M5_SOURCE_DIR) + "/examples/" + name);
}

std::vector<std::string> ImportCalls(const std::vector<std::wstring>& paths) {
  m5test::RecordingSink sink;
  m5test::FileList files(paths);
  PluginRef::adopt(CreatePlugin())->Import(&files, &sink);
  return sink.Calls();
}

// Every allocation of the first file's import fails in turn, from reading the file through
// the parser's construction and the lines to the last station's flush.
TEST(Boundary, FileThatRunsOutOfMemoryIsReportedAndTheNextIsImported) {
  const std::wstring first = Example("known_point.dat");
  const std::wstring second = Example("free_station.dat");
  const std::vector<std::string> firstAlone = ImportCalls({first});
  const std::vector<std::string> secondAlone = ImportCalls({second});
  ASSERT_EQ(firstAlone.back(), "SetProgress(100)");

  long firstAllocations = 0;
  {
    m5test::RecordingSink sink;
    m5test::FileList files({first});
    auto plugin = PluginRef::adopt(CreatePlugin());
    const m5test::AllocationCounter counter;
    plugin->Import(&files, &sink);
    firstAllocations = counter.Count();
  }
  ASSERT_GT(firstAllocations, 0);

  const std::vector<std::string> failureTail = {
      "SetCurrentLine(-1)", m5test::ErrorCall(m5::msg::kImportFailed, kMemoryReason),
      "SetProgress(100)"};

  for (long nth = 1; nth <= firstAllocations && !HasFailure(); ++nth) {
    SCOPED_TRACE("allocation " + std::to_string(nth));
    m5test::RecordingSink sink;
    m5test::FileList files({first, second});
    auto plugin = PluginRef::adopt(CreatePlugin());
    {
      const m5test::FailingAllocation failing(nth);
      EXPECT_NO_THROW(plugin->Import(&files, &sink));
      EXPECT_TRUE(failing.Failed());
    }
    const std::vector<std::string>& calls = sink.Calls();
    const auto secondBegins = std::find(calls.begin(), calls.end(), secondAlone.front());
    // The second file, whole and as if it had been imported alone.
    EXPECT_EQ(std::vector<std::string>(secondBegins, calls.end()), secondAlone);
    // The first: what the host had received, then the failure.
    const std::vector<std::string> firstCalls(calls.begin(), secondBegins);
    ASSERT_GE(firstCalls.size(), failureTail.size());
    const auto tail = firstCalls.end() - static_cast<std::ptrdiff_t>(failureTail.size());
    EXPECT_EQ(std::vector<std::string>(tail, firstCalls.end()), failureTail);
    ASSERT_LE(tail - firstCalls.begin(), static_cast<std::ptrdiff_t>(firstAlone.size()));
    EXPECT_TRUE(std::equal(firstCalls.begin(), tail, firstAlone.begin()));
    EXPECT_EQ(sink.OutstandingReferences(), 0);
    EXPECT_EQ(sink.OverReleases(), 0);
  }
}

// A survey that reaches every message of a record not imported, a malformed character, an
// unknown unit and one of another quantity, skipped sections, height stationing and
// stations replaced; ASCII but for a NUL.
std::wstring EveryMessageSurvey() {
  using m5test::PointLine;
  using m5test::TextLine;
  const std::string lines[] = {
      TextLine("STAT. KNWN. PNT."),
      TextLine("INPUT VALUES", "ih 1.5 m |th 1.3 m |"),
      PointLine("S1", "X 100 m |Y 200 m |"),
      PointLine("S1", "Om 10 gon |"),
      PointLine("S1", "Om 20 gon |"),
      PointLine("S2", "Om 30 gon |"),
      PointLine("T", "ih 1.6 m |"),
      TextLine("HEIGHTSTATIONING"),
      PointLine("BM", "Z 5 m |"),
      PointLine("BM2", "Z 6 m |"),
      PointLine("P1", "Hz 1 gon |SD 5 m |"),
      PointLine("S3", "ih 1.5 m |"),
      TextLine("MEASURE"),
      PointLine("P2", "SD 5 m |V1 99 gon |"),
      PointLine("P3", "Hz 1 mbar |"),
      PointLine("P4", "Hz 1 m |"),
      PointLine("P5", "Q1 1 m |"),
      TextLine("RESTART"),
      PointLine("P6", "Hz 2 gon |"),
      TextLine("END"),
      PointLine(std::string("P\0"
                            "7",
                            3),
                "Hz 3 gon |"),
      PointLine("P8", "Hz 4 gon |SD 7 m |"),
      TextLine("START"),
      PointLine("P9", "Hz 5 gon |"),
  };
  std::wstring text;
  for (const std::string& line : lines) {
    text += m5test::FromUtf8(line) + L"\r\n";
  }
  return text;
}

std::string Ascii(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

std::string Utf16LittleEndianWithMark(const std::wstring& text) {
  std::string bytes = "\xFF\xFE";
  for (const wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

struct ImportRun {
  std::vector<std::string> calls;
  long allocations = 0;
  bool failed = false;  // the armed allocation came
  int outstandingReferences = 0;
  int overReleases = 0;
};

// One file imported with these settings; with failAt above 0 that allocation of the import
// fails.
ImportRun ImportFailing(const std::wstring& path, const ImportSettings& settings, long failAt) {
  ImportRun run;
  m5test::RecordingSink sink;
  m5test::FileList files({path});
  auto plugin = PluginRef::adopt(CreatePlugin());
  m5test::SettingsStore store;
  settings.Save(&store);
  plugin->LoadSettings(&store);
  {
    const m5test::AllocationCounter counter;
    if (failAt > 0) {
      const m5test::FailingAllocation failing(failAt);
      EXPECT_NO_THROW(plugin->Import(&files, &sink));
      run.failed = failing.Failed();
    } else {
      plugin->Import(&files, &sink);
    }
    run.allocations = counter.Count();
  }
  run.calls = sink.Calls();
  run.outstandingReferences = sink.OutstandingReferences();
  run.overReleases = sink.OverReleases();
  return run;
}

// Every allocation of an import fails in turn, from opening the file through both readings
// and every message of a record not imported: each run gives what the host had received
// until then followed by the memory error, or the import whole, never a degraded message
// or "cannot open the file".
TEST(Boundary, EveryAllocationThatFailsEndsTheFileWithTheMemoryError) {
  const m5test::TempFolder folder;
  const std::wstring survey = EveryMessageSurvey();
  ImportSettings unicode;
  unicode.CodeStr = 1;
  const struct {
    const char* what;
    std::filesystem::path file;
    ImportSettings settings;
  } cases[] = {
      {"Windows-1251", folder.Write("ansi.dat", Ascii(survey)), ImportSettings{}},
      {"UTF-16 with its mark", folder.Write("utf16.dat", Utf16LittleEndianWithMark(survey)),
       unicode},
      {"UTF-8", folder.Write("utf8.dat", Ascii(survey)), unicode},
      {"a file that cannot be opened", folder.Path() / "missing.dat", ImportSettings{}},
  };
  const std::vector<std::string> failureTail = {
      "SetCurrentLine(-1)", m5test::ErrorCall(m5::msg::kImportFailed, kMemoryReason),
      "SetProgress(100)"};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    const ImportRun whole = ImportFailing(test.file.wstring(), test.settings, 0);
    ASSERT_GT(whole.allocations, 0);
    for (long nth = 1; nth <= whole.allocations + 1 && !HasFailure(); ++nth) {
      SCOPED_TRACE("allocation " + std::to_string(nth));
      const ImportRun run = ImportFailing(test.file.wstring(), test.settings, nth);
      EXPECT_EQ(run.outstandingReferences, 0);
      EXPECT_EQ(run.overReleases, 0);
      if (!run.failed || run.calls == whole.calls) {
        EXPECT_EQ(run.calls, whole.calls);
        continue;
      }
      ASSERT_GE(run.calls.size(), failureTail.size());
      const auto tail = run.calls.end() - static_cast<std::ptrdiff_t>(failureTail.size());
      EXPECT_EQ(std::vector<std::string>(tail, run.calls.end()), failureTail);
      ASSERT_LE(tail - run.calls.begin(), static_cast<std::ptrdiff_t>(whole.calls.size()));
      EXPECT_TRUE(std::equal(run.calls.begin(), tail, whole.calls.begin()));
    }
  }
}

// The file list of the host's breaks, with a standard exception or any other: the files it
// cannot name are not imported, and the exception stays with the plug-in.
TEST(Boundary, BrokenFileListEndsTheImportQuietly) {
  struct NotStandard {};
  const std::function<void()> failures[] = {
      [] { throw std::runtime_error("host list"); },
      [] { throw NotStandard{}; },
  };
  for (const std::function<void()>& failure : failures) {
    class BrokenFileList : public m5test::FileList {
     public:
      BrokenFileList(std::vector<std::wstring> paths, std::function<void()> fail)
          : FileList(std::move(paths)), m_fail(std::move(fail)) {}
      const wchar_t* Current() override {
        m_fail();
        return nullptr;
      }

     private:
      std::function<void()> m_fail;
    };
    m5test::RecordingSink sink;
    BrokenFileList files({Example("known_point.dat")}, failure);
    EXPECT_NO_THROW(PluginRef::adopt(CreatePlugin())->Import(&files, &sink));
    EXPECT_TRUE(sink.Calls().empty());
  }
}

// A host whose converter throws something that is no standard exception (its own type, as
// code of another compiler may): that file ends with the error, the next is imported whole.
TEST(Boundary, AnyExceptionInsideAFileEndsOnlyThatFile) {
  struct HostFailure {};
  class ThrowingSink : public m5test::RecordingSink {
   public:
    void AddStation(const wchar_t* name) override {
      RecordingSink::AddStation(name);
      if (m_throw) {
        m_throw = false;
        throw HostFailure{};
      }
    }

   private:
    bool m_throw = true;
  };
  const std::wstring first = Example("known_point.dat");
  const std::wstring second = Example("free_station.dat");
  const std::vector<std::string> secondAlone = ImportCalls({second});
  ThrowingSink sink;
  m5test::FileList files({first, second});
  EXPECT_NO_THROW(PluginRef::adopt(CreatePlugin())->Import(&files, &sink));
  const std::vector<std::string>& calls = sink.Calls();
  const auto secondBegins = std::find(calls.begin(), calls.end(), secondAlone.front());
  ASSERT_NE(secondBegins, calls.end());
  EXPECT_EQ(std::vector<std::string>(secondBegins, calls.end()), secondAlone);
  const std::vector<std::string> failureTail = {
      "SetCurrentLine(-1)", m5test::ErrorCall(m5::msg::kImportFailed, kUnknownReason),
      "SetProgress(100)"};
  ASSERT_GE(secondBegins - calls.begin(), 3);
  EXPECT_EQ(std::vector<std::string>(secondBegins - 3, secondBegins), failureTail);
  EXPECT_EQ(sink.OutstandingReferences(), 0);
}

// The property list counts what the page does and allocates nothing through operator new
// meanwhile, so that every failing allocation falls in the plug-in.
using QuietView = m5test::PropertyListView;

// What an operation gave: its ordinary answer, the one meant for a failure, or neither.
enum class Answer { Ordinary, Fallback, Neither };

Answer TextAnswer(BSTR text) {
  const Answer answer = text != nullptr ? Answer::Ordinary : Answer::Fallback;
  SysFreeString(text);
  return answer;
}

// A refusal with the page's message is the ordinary answer; one without is the fallback.
Answer Refusal(bool accepted, const QuietView& view) {
  if (accepted) {
    return Answer::Neither;
  }
  return view.messages == 1 ? Answer::Ordinary : Answer::Fallback;
}

// Every allocation an operation of the settings or identity makes fails in turn; it gives
// its fallback without throwing, and its ordinary answer once nothing fails.
TEST(Boundary, HostOperationsGiveTheirFallbackWhenMemoryRunsOut) {
  using Controller = Plugin::IPropertyListViewController;
  struct Operation {
    const char* name;
    const wchar_t* itemText;  // what every text item of the page holds
    bool pageFilled;          // Populate runs before the failure is armed
    std::function<Answer(IGroundBasedMIP&, Controller&, QuietView&)> run;
  };
  const Operation operations[] = {
      {"GetName", L"5", false,
       [](IGroundBasedMIP& plugin, Controller&, QuietView&) {
         return TextAnswer(plugin.GetName());
       }},
      {"GetFileFilter", L"5", false,
       [](IGroundBasedMIP& plugin, Controller&, QuietView&) {
         return TextAnswer(plugin.GetFileFilter());
       }},
      {"Populate", L"5", false,
       [](IGroundBasedMIP&, Controller& page, QuietView& view) {
         page.Populate(&view);
         return view.itemsAdded == 6 && view.previewShown ? Answer::Ordinary : Answer::Fallback;
       }},
      {"ValidateItem", L"five", true,
       [](IGroundBasedMIP&, Controller& page, QuietView& view) {
         return Refusal(page.ValidateItem(1), view);
       }},
      {"ValidateAll", L"0", true,
       [](IGroundBasedMIP&, Controller& page, QuietView& view) {
         return Refusal(page.ValidateAll(), view);
       }},
      {"Apply", L"3", true,
       [](IGroundBasedMIP& plugin, Controller& page, QuietView&) {
         page.Apply();
         const std::int32_t start = static_cast<CImportPluginImpl&>(plugin).Settings().PointStart;
         return start == 3 ? Answer::Ordinary : start == 1 ? Answer::Fallback : Answer::Neither;
       }},
  };
  for (const Operation& operation : operations) {
    SCOPED_TRACE(operation.name);
    for (long nth = 1;; ++nth) {
      SCOPED_TRACE("allocation " + std::to_string(nth));
      QuietView view(m5test::CallLog::Counted);
      view.everyText = operation.itemText;  // every text item reads it, every choice 0
      view.everyChoice = 0;
      auto plugin = PluginRef::adopt(CreatePlugin());
      Controller& page = *plugin->GetSettingsController();
      if (operation.pageFilled) {
        page.Populate(&view);
      }
      const m5test::FailingAllocation failing(nth);
      Answer answer = Answer::Neither;
      EXPECT_NO_THROW(answer = operation.run(*plugin.get(), page, view));
      if (!failing.Failed()) {
        EXPECT_EQ(answer, Answer::Ordinary);
        break;
      }
      EXPECT_EQ(answer, Answer::Fallback);
      if (HasFailure()) {
        break;
      }
    }
  }
}

// A view of the host's that throws what is no standard exception: each operation of the
// page gives its fallback and the exception stays with the plug-in.
TEST(Boundary, ViewThatThrowsAnythingGetsTheFallback) {
  struct HostFailure {};
  class ThrowingView : public QuietView {
   public:
    void GetItemText(int, BSTR*) override { throw HostFailure{}; }
  };
  ThrowingView view;
  auto plugin = PluginRef::adopt(CreatePlugin());
  Plugin::IPropertyListViewController& page = *plugin->GetSettingsController();
  page.Populate(&view);
  bool accepted = true;
  EXPECT_NO_THROW(accepted = page.ValidateItem(1));
  EXPECT_FALSE(accepted);
  accepted = true;
  EXPECT_NO_THROW(accepted = page.ValidateAll());
  EXPECT_FALSE(accepted);
  EXPECT_NO_THROW(page.Apply());
  EXPECT_EQ(static_cast<CImportPluginImpl&>(*plugin.get()).Settings().PointStart, 1);
}

TEST(Boundary, PluginThatCannotBeAllocatedIsNull) {
  const m5test::FailingAllocation failing(1);
  EXPECT_EQ(CreatePlugin(), nullptr);
  EXPECT_TRUE(failing.Failed());
}

}  // namespace
