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

// A file list of the host's that breaks: the files it cannot name are not imported, and
// the exception stays with the plug-in.
TEST(Boundary, BrokenFileListEndsTheImportQuietly) {
  class BrokenFileList : public m5test::FileList {
   public:
    using FileList::FileList;
    const wchar_t* Current() override { throw std::runtime_error("host list"); }
  };
  m5test::RecordingSink sink;
  BrokenFileList files({Example("known_point.dat")});
  EXPECT_NO_THROW(PluginRef::adopt(CreatePlugin())->Import(&files, &sink));
  EXPECT_TRUE(sink.Calls().empty());
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

TEST(Boundary, PluginThatCannotBeAllocatedIsNull) {
  const m5test::FailingAllocation failing(1);
  EXPECT_EQ(CreatePlugin(), nullptr);
  EXPECT_TRUE(failing.Failed());
}

}  // namespace
