// The settings page as the host's property list sees it: what it is filled with, which
// edits are refused, what the preview shows and what reaches the settings.
#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "import/plugin.h"
#include "import/settings_page_items.h"
#include "resources/string_ids.h"
#include "sdk/combo_item.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"
#include "tests/support/messages.h"
#include "tests/support/property_list_view.h"
#include "tests/support/recording_host.h"
#include "tests/support/settings_store.h"

namespace {

using m5test::ToUtf8;

using m5test::PropertyListView;
using m5test::Quote;

using Calls = std::vector<std::string>;

// The refusal the page shows, with its caption, as the recording page writes it.
std::string Refusal(unsigned int id) {
  return "ShowMessage " + Quote(m5test::Message(id).c_str()) + " " +
         Quote(m5test::Message(m5::msg::kCaptionError).c_str());
}

const std::string kDefaultPreview =
    R"(SetPreviewText "Формат:\nFor M5| Adr 00001| PI1   PPPPPPPPPPPPPPCCCCCCCCCCCCC")";
const std::string kInvalidPreview =
    R"(SetPreviewText "Формат:\nFor M5| Adr 00001| PI1   НЕКОРРЕКТНЫЙ ФОРМАТ!!!")";
const Calls kReadLayout{"GetItemText 1", "GetItemText 2", "GetItemText 3", "GetItemText 4"};

Calls Then(Calls first, const Calls& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// A plug-in whose page has been filled; the view then holds the layout texts given.
class SettingsPage : public ::testing::Test {
 protected:
  void SetUp() override {
    m_plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
    Controller().Populate(&view);
    view.ClearCalls();
  }

  void Show(const wchar_t* nameStart, const wchar_t* nameLen, const wchar_t* codeStart,
            const wchar_t* codeLen) {
    view.texts = {{1, nameStart}, {2, nameLen}, {3, codeStart}, {4, codeLen}};
  }

  Plugin::IPropertyListViewController& Controller() { return *m_plugin->GetSettingsController(); }
  const ImportSettings& Settings() {
    return static_cast<CImportPluginImpl*>(m_plugin.get())->Settings();
  }

  PropertyListView view;

 private:
  Plugin::Ref<Plugin::IGroundBasedMIP> m_plugin;
};

TEST(SettingsPageFill, FillsTheListInOrderAndShowsThePreview) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  PropertyListView view;
  view.texts = {{1, L"1"}, {2, L"14"}, {3, L"15"}, {4, L"13"}};
  plugin->GetSettingsController()->Populate(&view);
  EXPECT_EQ(view.Calls(),
            Then(
                Calls{
                    R"(AddGroup "Установки формата")",
                    R"(AddComboItem 0 true "Запись горизонтального угла (Hz) в файле" )"
                    R"([0 "Абсолютный отсчет";1 "Ориентированное направление";] 1)",
                    R"(AddGroup "Дополнительные настройки")",
                    R"(AddComboItem 5 true "Использовать кодировку" )"
                    R"([0 "Win1251";1 "UTF-8";] 0)",
                    R"(AddGroup "Чтение имени")",
                    R"(AddTextItem 1 true "Начало" "1")",
                    R"(AddTextItem 2 true "Длина" "14")",
                    R"(AddGroup "Чтение кода")",
                    R"(AddTextItem 3 true "Начало" "15")",
                    R"(AddTextItem 4 true "Длина" "13")",
                    "EnablePreview true",
                },
                Then(kReadLayout, {kDefaultPreview})));
}

TEST(SettingsPageFill, ShowsStoredValuesEvenWhenTheyDoNotFit) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  m5test::SettingsStore store{{L"PointStart", INT_MIN}, {L"CodeLen", -7}, {L"CodeStr", 1}};
  plugin->LoadSettings(&store);
  PropertyListView view;
  plugin->GetSettingsController()->Populate(&view);
  const Calls& calls = view.Calls();
  ASSERT_EQ(calls.size(), 16u);
  EXPECT_EQ(calls[3], R"(AddComboItem 5 true "Использовать кодировку" [0 "Win1251";1 "UTF-8";] 1)");
  EXPECT_EQ(calls[5], R"(AddTextItem 1 true "Начало" "-2147483648")");
  EXPECT_EQ(calls[9], R"(AddTextItem 4 true "Длина" "-7")");
  // The view serves no texts here, so the preview reads an unusable layout.
  EXPECT_EQ(calls[15], kInvalidPreview);
}

TEST(SettingsPageFill, ChoiceItemsLiveOnlyWhileSomeoneHoldsThem) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  PropertyListView dropping;
  std::vector<int> countsDuringCall;  // each choice item's references while the view holds it
  dropping.onChoiceItem = [&countsDuringCall](Plugin::IComboItem* item) {
    countsDuringCall.push_back(static_cast<Plugin::Detail::CComboItem*>(item)->RefCount());
    return m5test::ChoiceItem::Left;
  };
  plugin->GetSettingsController()->Populate(&dropping);
  // Only the page's own reference during the call, so its release after the call is the
  // last; a leak or a double release would show under the sanitizer build.
  EXPECT_EQ(countsDuringCall, (std::vector<int>{1, 1, 1, 1}));

  PropertyListView keeping;
  keeping.onChoiceItem = [](Plugin::IComboItem*) { return m5test::ChoiceItem::Kept; };
  plugin->GetSettingsController()->Populate(&keeping);
  ASSERT_EQ(keeping.kept.size(), 4u);
  for (auto& item : keeping.kept) {
    EXPECT_EQ(static_cast<Plugin::Detail::CComboItem*>(item.get())->RefCount(), 1);
    BSTR text = item->GetText();
    EXPECT_NE(text, nullptr);
    SysFreeString(text);
    EXPECT_TRUE(item.detach()->Release());  // the host's release destroys it
  }
}

TEST(SettingsPageFill, RefillingMovesToTheNewView) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  PropertyListView first;
  PropertyListView second;
  plugin->GetSettingsController()->Populate(&first);
  plugin->GetSettingsController()->Populate(&second);
  first.ClearCalls();
  second.ClearCalls();
  second.texts = {{2, L"x"}};
  EXPECT_FALSE(plugin->GetSettingsController()->ValidateItem(2));
  EXPECT_TRUE(first.Calls().empty());
  EXPECT_EQ(second.Calls().size(), 2u);
}

TEST(SettingsPageNumbers, WholeTextRules) {
  struct Case {
    const wchar_t* text;
    std::optional<std::int32_t> value;
  };
  const Case cases[] = {
      {L"5", 5},
      {L"+5", 5},
      {L"-5", -5},
      {L"007", 7},
      {L"2147483647", INT_MAX},
      {L"-2147483648", INT_MIN},
      {L"2147483648", std::nullopt},
      {L"-2147483649", std::nullopt},
      {L"99999999999999999999", std::nullopt},
      {L"", std::nullopt},
      {nullptr, std::nullopt},
      {L"abc", std::nullopt},
      {L" 5", std::nullopt},
      {L"5 ", std::nullopt},
      {L"1 000", std::nullopt},
      {L"1,5", std::nullopt},
      {L"1.0", std::nullopt},
      {L"0x10", std::nullopt},
      {L"+", std::nullopt},
      {L"-", std::nullopt},
      {L"--5", std::nullopt},
      {L"+-5", std::nullopt},
      {L"\x0665", std::nullopt},  // an Arabic-Indic digit five
  };
  for (const Case& c : cases) {
    EXPECT_EQ(m5::settings::ParseNumber(c.text), c.value)
        << (c.text == nullptr ? "null" : ToUtf8(c.text));
  }
  EXPECT_EQ(ToUtf8(m5::settings::DecimalText(INT_MIN)), "-2147483648");
  EXPECT_EQ(ToUtf8(m5::settings::DecimalText(1234567)), "1234567");
}

TEST_F(SettingsPage, RefusesATextThatIsNotANumberAndKeepsThePreview) {
  const Calls refused{"GetItemText 2", Refusal(m5::msg::kInvalidNumber)};
  for (const wchar_t* text : {L"abc", L"", L" 5", L"2147483648"}) {
    Show(L"1", text, L"15", L"13");
    EXPECT_FALSE(Controller().ValidateItem(2)) << ToUtf8(text);
    EXPECT_EQ(view.Calls(), refused) << ToUtf8(text);
    view.ClearCalls();
  }
  view.texts.clear();  // the view supplies no text at all
  EXPECT_FALSE(Controller().ValidateItem(2));
  EXPECT_EQ(view.Calls(), refused);
}

TEST_F(SettingsPage, AcceptsASignedNumberAndRefreshesThePreview) {
  struct Case {
    const wchar_t* nameLen;
    std::string preview;
  };
  const Case cases[] = {
      {L"+5", R"(SetPreviewText "Формат:\nFor M5| Adr 00001| PI1   PPPPP*********CCCCCCCCCCCCC")"},
      {L"-2147483648", kInvalidPreview},
  };
  for (const Case& c : cases) {
    Show(L"1", c.nameLen, L"15", L"13");
    EXPECT_TRUE(Controller().ValidateItem(2)) << ToUtf8(c.nameLen);
    EXPECT_EQ(view.Calls(), Then({"GetItemText 2"}, Then(kReadLayout, {c.preview})))
        << ToUtf8(c.nameLen);
    view.ClearCalls();
  }
}

TEST_F(SettingsPage, AcceptsANumberThatBreaksTheLayoutButShowsIt) {
  Show(L"1", L"14", L"10", L"13");
  EXPECT_TRUE(Controller().ValidateItem(3));
  EXPECT_EQ(view.Calls().back(), kInvalidPreview);
}

TEST_F(SettingsPage, ChoicesAndUnknownItemsNeedNoJudging) {
  for (int id : {0, 5, 6, -1, INT_MAX}) {
    EXPECT_TRUE(Controller().ValidateItem(id)) << id;
  }
  EXPECT_TRUE(view.Calls().empty());
}

TEST_F(SettingsPage, ValidateAllJudgesTheWholeLayout) {
  Show(L"1", L"14", L"15", L"13");
  EXPECT_TRUE(Controller().ValidateAll());
  EXPECT_EQ(view.Calls(), kReadLayout);

  const Calls refused = Then(kReadLayout, {Refusal(m5::msg::kInvalidLayout)});
  struct Layout {
    const wchar_t *nameStart, *nameLen, *codeStart, *codeLen;
  };
  for (const Layout& l :
       {Layout{L"1", L"14", L"14", L"13"}, Layout{L"0", L"14", L"15", L"13"},
        Layout{L"1", L"14", L"15", L"2147483647"}, Layout{L"1", L"x", L"15", L"13"}}) {
    view.ClearCalls();
    Show(l.nameStart, l.nameLen, l.codeStart, l.codeLen);
    EXPECT_FALSE(Controller().ValidateAll()) << ToUtf8(l.nameStart) << " " << ToUtf8(l.codeLen);
    EXPECT_EQ(view.Calls(), refused);
  }
}

TEST_F(SettingsPage, ApplyCopiesTheListIntoTheSettings) {
  Show(L"20", L"5", L"1", L"10");
  view.choices = {{0, 0}, {5, 1}};
  Controller().Apply();
  EXPECT_EQ(view.Calls(), Then(kReadLayout, {"GetComboValue 0", "GetComboValue 5"}));
  const ImportSettings& s = Settings();
  EXPECT_EQ(s.PointStart, 20);
  EXPECT_EQ(s.PointLen, 5);
  EXPECT_EQ(s.CodeStart, 1);
  EXPECT_EQ(s.CodeLen, 10);
  EXPECT_EQ(s.AngleMode, 0);
  EXPECT_EQ(s.CodeStr, 1);
  EXPECT_EQ(s.PointIdWidth, 27);
}

TEST_F(SettingsPage, ApplyKeepsWhatItCannotRead) {
  Show(L"20", L"x", L"", L"+3");
  view.texts.erase(1);      // no text for the name start
  view.choices = {{5, 7}};  // no choice for Hz, an unknown one for the encoding
  Controller().Apply();
  const ImportSettings& s = Settings();
  EXPECT_EQ(s.PointStart, 1);
  EXPECT_EQ(s.PointLen, 14);
  EXPECT_EQ(s.CodeStart, 15);
  EXPECT_EQ(s.CodeLen, 3);
  EXPECT_EQ(s.AngleMode, 1);
  EXPECT_EQ(s.CodeStr, 0);

  view.choices = {{0, -1}, {5, -1}};  // -1 reported outright is no choice either
  Controller().Apply();
  EXPECT_EQ(Settings().AngleMode, 1);
  EXPECT_EQ(Settings().CodeStr, 0);
}

TEST(SettingsPageWithoutView, EveryOperationIsHarmless) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  Plugin::IPropertyListViewController* controller = plugin->GetSettingsController();
  for (int round = 0; round < 2; ++round) {
    EXPECT_TRUE(controller->ValidateItem(2));
    EXPECT_TRUE(controller->ValidateAll());
    controller->Apply();
    controller->Close();
    controller->Populate(nullptr);  // a view that goes away leaves the page empty again
  }
  EXPECT_EQ(static_cast<CImportPluginImpl*>(plugin.get())->Settings().PointLen, 14);
}

}  // namespace
