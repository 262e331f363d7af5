// The settings page: fills the host's property list from the settings, judges each edit,
// keeps the sample-record preview up to date and writes the values back.
#include "import/plugin.h"

#include <array>
#include <cstdint>
#include <string>

#include "import/settings_page_items.h"
#include "platform/string_table.h"
#include "resources/string_ids.h"
#include "sdk/contained_call.h"

namespace {

using m5::settings::Choice;

// Item ids: the keys by which the page and the host's view speak of an item.
constexpr int kHzRecordingItem = 0;
constexpr int kNameStartItem = 1;
constexpr int kNameLengthItem = 2;
constexpr int kCodeStartItem = 3;
constexpr int kCodeLengthItem = 4;
constexpr int kEncodingItem = 5;

constexpr Choice kHzRecordingChoices[] = {{0, L"Абсолютный отсчет"},
                                          {1, L"Ориентированное направление"}};
constexpr Choice kEncodingChoices[] = {{0, L"Win1251"}, {1, L"UTF-8"}};

// The four text items of the layout, in the order they are read and applied.
struct NumberItem {
  int id;
  std::int32_t ImportSettings::*field;
};
constexpr NumberItem kLayoutItems[] = {
    {kNameStartItem, &ImportSettings::PointStart},
    {kNameLengthItem, &ImportSettings::PointLen},
    {kCodeStartItem, &ImportSettings::CodeStart},
    {kCodeLengthItem, &ImportSettings::CodeLen},
};

struct ChoiceItem {
  int id;
  std::int32_t ImportSettings::*field;
  m5::settings::ChoiceList choices;
};
constexpr ChoiceItem kChoiceItems[] = {
    {kHzRecordingItem, &ImportSettings::AngleMode, kHzRecordingChoices},
    {kEncodingItem, &ImportSettings::CodeStr, kEncodingChoices},
};

bool IsLayoutItem(int id) {
  for (const NumberItem& item : kLayoutItems) {
    if (item.id == id) {
      return true;
    }
  }
  return false;
}

std::wstring Text(unsigned int id) {
  return m5::platform::LoadResourceString(id);
}

// Name start, name length, code start, code length as the user typed them; a text that is
// not a number reads as -1, which no valid layout holds.
std::array<std::int32_t, 4> ReadLayout(IPropertyListView& view) {
  std::array<std::int32_t, 4> layout{};
  for (std::size_t i = 0; i < layout.size(); ++i) {
    layout[i] = m5::settings::ReadNumber(view, kLayoutItems[i].id).value_or(-1);
  }
  return layout;
}

void RefreshPreview(IPropertyListView& view, const ImportSettings& settings) {
  const auto [nameStart, nameLen, codeStart, codeLen] = ReadLayout(view);
  view.SetPreviewText(settings.PreviewText(nameStart, nameLen, codeStart, codeLen).c_str());
}

void AddNumberItem(IPropertyListView& view, int id, unsigned int caption, std::int32_t value) {
  view.AddTextItem(id, true, Text(caption).c_str(), m5::settings::DecimalText(value).c_str());
}

void FillPage(IPropertyListView& page, const ImportSettings& settings) {
  page.AddGroup(Text(m5::msg::kGroupFormat).c_str());
  m5::settings::AddChoiceItem(page, kHzRecordingItem, Text(m5::msg::kItemHzRecording).c_str(),
                              kHzRecordingChoices, settings.AngleMode);
  page.AddGroup(Text(m5::msg::kGroupAdditional).c_str());
  m5::settings::AddChoiceItem(page, kEncodingItem, Text(m5::msg::kItemEncoding).c_str(),
                              kEncodingChoices, settings.CodeStr);
  page.AddGroup(Text(m5::msg::kGroupName).c_str());
  AddNumberItem(page, kNameStartItem, m5::msg::kItemStart, settings.PointStart);
  AddNumberItem(page, kNameLengthItem, m5::msg::kItemLength, settings.PointLen);
  page.AddGroup(Text(m5::msg::kGroupCode).c_str());
  AddNumberItem(page, kCodeStartItem, m5::msg::kItemStart, settings.CodeStart);
  AddNumberItem(page, kCodeLengthItem, m5::msg::kItemLength, settings.CodeLen);
  page.EnablePreview(true);
  RefreshPreview(page, settings);
}

bool JudgeItem(IPropertyListView& page, int id, const ImportSettings& settings) {
  if (!IsLayoutItem(id)) {
    return true;
  }
  // Only the number is judged here: a layout that stops fitting shows in the preview, and
  // ValidateAll refuses it when the user confirms.
  if (!m5::settings::ReadNumber(page, id)) {
    page.ShowMessage(Text(m5::msg::kInvalidNumber).c_str(), Text(m5::msg::kCaptionError).c_str());
    return false;
  }
  RefreshPreview(page, settings);
  return true;
}

bool JudgeLayout(IPropertyListView& page, const ImportSettings& settings) {
  const auto [nameStart, nameLen, codeStart, codeLen] = ReadLayout(page);
  if (settings.IsValidLayout(nameStart, nameLen, codeStart, codeLen)) {
    return true;
  }
  page.ShowMessage(Text(m5::msg::kInvalidLayout).c_str(), Text(m5::msg::kCaptionError).c_str());
  return false;
}

// The settings with the page's values in place of their own. What cannot be read keeps the
// value it had: an unreadable choice must not become an encoding or Hz mode the parser
// does not know.
ImportSettings ReadPage(IPropertyListView& page, ImportSettings settings) {
  for (const NumberItem& item : kLayoutItems) {
    if (const auto value = m5::settings::ReadNumber(page, item.id)) {
      settings.*item.field = *value;
    }
  }
  for (const ChoiceItem& item : kChoiceItems) {
    if (const auto value = m5::settings::ReadChoice(page, item.id, item.choices)) {
      settings.*item.field = *value;
    }
  }
  return settings;
}

}  // namespace

// Each operation of the page stops its own failures: a page that cannot be filled stays as
// far as it got, an edit or a layout that cannot be judged is refused, and settings that
// cannot be read whole stay as they were.

void CImportPluginImpl::Populate(IPropertyListView* view) {
  m_view = view;
  if (m_view == nullptr) {
    return;
  }
  Plugin::CallContained([this] { FillPage(*m_view, m_settings); });
}

bool CImportPluginImpl::ValidateItem(int id) {
  if (m_view == nullptr) {
    return true;
  }
  return Plugin::CallContained(false, [this, id] { return JudgeItem(*m_view, id, m_settings); });
}

bool CImportPluginImpl::ValidateAll() {
  if (m_view == nullptr) {
    return true;
  }
  return Plugin::CallContained(false, [this] { return JudgeLayout(*m_view, m_settings); });
}

void CImportPluginImpl::Apply() {
  if (m_view == nullptr) {
    return;
  }
  Plugin::CallContained([this] { m_settings = ReadPage(*m_view, m_settings); });
}

void CImportPluginImpl::Close() {}
