#include <gtest/gtest.h>

#include <sstream>

#include "host/session/property_list_view.h"
#include "sdk/combo_item.h"

namespace m5host {
namespace {

TEST(TerminalPropertyList, CopiesChoicesAndAnswersTheController) {
  TerminalPropertyList view;
  view.AddGroup(L"Установки формата");
  // Choices as a plug-in hands them over: counted items that die after the call.
  std::vector<Plugin::IComboItem*> items;
  for (auto [id, text] :
       {std::pair{0, L"Абсолютный отсчет"}, {1, L"Ориентированное направление"}}) {
    auto* item = new Plugin::Detail::CComboItem(id, text);
    item->AddRef();
    items.push_back(item);
  }
  Plugin::CEnumeratorImpl<std::vector<Plugin::IComboItem*>> choices(&items);
  view.AddComboItem(0, true, L"Запись", &choices, 1);
  for (Plugin::IComboItem* item : items) {
    EXPECT_TRUE(item->Release());  // the view kept no reference
  }
  view.AddTextItem(2, true, L"Длина", L"14");
  view.EnablePreview(true);
  view.SetPreviewText(L"Формат:\nPPPP");

  int value = -1;
  view.GetComboValue(0, &value);
  EXPECT_EQ(value, 1);
  value = -1;
  view.GetComboValue(2, &value);  // a text item has no choice
  EXPECT_EQ(value, -1);
  BSTR text = nullptr;
  view.GetItemText(2, &text);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(text), L"14");
  SysFreeString(text);
  text = nullptr;
  view.GetItemText(99, &text);
  EXPECT_EQ(text, nullptr);

  std::ostringstream out;
  view.Render(out, [](int id) { return id == 2 ? std::string("PointLen") : std::string(); });
  EXPECT_EQ(out.str(),
            "Установки формата\n"
            "  Запись\n"
            "    ( ) 0 Абсолютный отсчет\n"
            "    (*) 1 Ориентированное направление\n"
            "  Длина [PointLen]: 14\n"
            "\n"
            "  | Формат:\n"
            "  | PPPP\n");
}

}  // namespace
}  // namespace m5host
