#include "settings_host.h"

namespace msvchost {

namespace {

constexpr const wchar_t* kKeyNames[kSettingCount] = {L"PointStart", L"PointLen",  L"CodeStart",
                                                     L"CodeLen",    L"AngleMode", L"CodeStr"};

// The page's items, by the ids the plug-in gives them.
constexpr int kNameLengthItem = 2;
constexpr int kCodeStartItem = 3;
constexpr int kGroupCount = 4;
constexpr int kItemCount = 6;

bool SameText(const wchar_t* a, const wchar_t* b) {
  for (; *a != 0 && *a == *b; ++a, ++b) {
  }
  return *a == *b;
}

int KeyIndex(const wchar_t* key) {
  for (int i = 0; key != nullptr && i < kSettingCount; ++i) {
    if (SameText(key, kKeyNames[i])) {
      return i;
    }
  }
  return -1;
}

bool IsEmpty(const wchar_t* text) {
  return text == nullptr || *text == 0;
}

// The decimal text of a small number, for an edit.
void DecimalText(int value, wchar_t (&text)[12]) {
  wchar_t reversed[12];
  int count = 0;
  unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
  do {
    reversed[count++] = static_cast<wchar_t>(L'0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  int length = 0;
  if (value < 0) {
    text[length++] = L'-';
  }
  while (count > 0) {
    text[length++] = reversed[--count];
  }
  text[length] = 0;
}

}  // namespace

bool SettingsStore::Store(const wchar_t* key, int value) {
  const int index = KeyIndex(key);
  if (index < 0) {
    return false;
  }
  m_stored[index] = true;
  m_values[index] = value;
  return true;
}

bool SettingsStore::AllSaved() const {
  for (const bool saved : m_wasSaved) {
    if (!saved) {
      return false;
    }
  }
  return true;
}

void SettingsStore::ForgetSaved() {
  for (int i = 0; i < kSettingCount; ++i) {
    m_wasSaved[i] = false;
    m_saved[i] = 0;
  }
}

int SettingsStore::ReadInt(const wchar_t* key, int defaultValue) {
  const int index = KeyIndex(key);
  if (index < 0) {
    return defaultValue;
  }
  m_loaded[index] = m_stored[index] ? m_values[index] : defaultValue;
  return m_loaded[index];
}

void SettingsStore::WriteInt(const wchar_t* key, int value) {
  const int index = KeyIndex(key);
  if (index >= 0) {
    m_wasSaved[index] = true;
    m_saved[index] = value;
  }
}

PropertyPage::~PropertyPage() {
  ReleaseKeptChoices();
}

PropertyPage::Item* PropertyPage::Find(int id) {
  for (int i = 0; i < m_itemCount; ++i) {
    if (m_items[i].id == id) {
      return &m_items[i];
    }
  }
  return nullptr;
}

PropertyPage::Item* PropertyPage::Add(int id, bool combo) {
  if (Find(id) != nullptr || m_itemCount == kMaxItems) {
    m_checks.Fail("the page added an item twice, or too many items", id);
    return nullptr;
  }
  Item& item = m_items[m_itemCount++];
  item.id = id;
  item.combo = combo;
  return &item;
}

void PropertyPage::Edit(int id, const wchar_t* text) {
  Item* item = Find(id);
  if (item == nullptr || item->combo) {
    m_checks.Fail("the page has no text item", id);
    return;
  }
  int i = 0;
  for (; i + 1 < kMaxText && text[i] != 0; ++i) {
    item->text[i] = text[i];
  }
  item->text[i] = 0;
}

void PropertyPage::ReleaseKeptChoices() {
  for (int i = 0; i < m_itemCount; ++i) {
    Plugin::IComboItem* kept = m_items[i].kept;
    if (kept == nullptr) {
      continue;
    }
    m_items[i].kept = nullptr;
    m_checks.Expect(kept->GetId() == m_items[i].selected, "a kept choice changed its id");
    BSTR text = kept->GetText();
    m_strings.HostReceives(text, "IComboItem::GetText gave a string the plug-in did not allocate");
    m_checks.Expect(!IsEmpty(text), "a kept choice has no text");
    m_strings.HostFrees(text);
    m_checks.Expect(kept->Release(), "the host's release of a kept choice was not its last");
  }
}

void PropertyPage::AddGroup(const wchar_t* caption) {
  m_checks.Expect(!IsEmpty(caption), "a group without a caption");
  ++m_groups;
}

bool PropertyPage::AddTextItem(int id, bool /*enabled*/, const wchar_t* caption,
                               const wchar_t* text) {
  m_checks.Expect(!IsEmpty(caption) && text != nullptr, "a text item without caption or text");
  if (Add(id, false) != nullptr && text != nullptr) {
    Edit(id, text);
  }
  return true;
}

bool PropertyPage::AddComboItem(int id, bool /*enabled*/, const wchar_t* caption,
                                Plugin::IEnumerator<Plugin::IComboItem*>* items, int selectedId) {
  m_checks.Expect(!IsEmpty(caption) && items != nullptr,
                  "a choice item without caption or choices");
  Item* item = Add(id, true);
  if (item == nullptr || items == nullptr) {
    return false;
  }
  item->selected = selectedId;
  int choices = 0;
  // Twice over, to use Reset too: both walks must see the same choices.
  for (int walk = 0; walk < 2; ++walk) {
    items->Reset();
    int seen = 0;
    for (; items->IsValid(); items->Next()) {
      Plugin::IComboItem* choice = items->Current();
      if (choice == nullptr) {
        m_checks.Fail("a choice item's cursor gave null", id);
        break;
      }
      ++seen;
      BSTR text = choice->GetText();
      m_strings.HostReceives(text,
                             "IComboItem::GetText gave a string the plug-in did not allocate");
      m_checks.Expect(!IsEmpty(text), "a choice without text");
      m_strings.HostFrees(text);
      if (walk == 0 && choice->GetId() == selectedId && item->kept == nullptr) {
        choice->AddRef();
        item->kept = choice;
      }
    }
    if (walk == 1 && seen != choices) {
      m_checks.Fail("a choice item's cursor gave other choices after Reset", id);
    }
    choices = seen;
  }
  m_checks.Expect(choices > 1 && item->kept != nullptr,
                  "a choice item without the selected choice among its choices");
  return true;
}

void PropertyPage::GetItemText(int id, BSTR* text) {
  if (text == nullptr || *text != nullptr) {
    m_checks.Fail("GetItemText's result was not preset to null", id);
    return;
  }
  Item* item = Find(id);
  if (item == nullptr || item->combo) {
    m_checks.Fail("GetItemText asked for an item that is no text item", id);
    return;
  }
  *text = m_strings.HostAllocatesForPlugin(item->text);
}

void PropertyPage::GetComboValue(int id, int* value) {
  if (value == nullptr || *value != -1) {
    m_checks.Fail("GetComboValue's result was not preset to -1", id);
    return;
  }
  Item* item = Find(id);
  if (item == nullptr || !item->combo) {
    m_checks.Fail("GetComboValue asked for an item that is no choice item", id);
    return;
  }
  *value = item->selected;
}

void PropertyPage::ShowMessage(const wchar_t* text, const wchar_t* caption) {
  m_checks.Expect(!IsEmpty(text) && !IsEmpty(caption), "a message without text or caption");
  ++m_messages;
}

void PropertyPage::EnablePreview(bool enable) {
  m_previewEnabled = enable;
}

void PropertyPage::SetPreviewText(const wchar_t* text) {
  m_checks.Expect(!IsEmpty(text), "an empty preview");
  ++m_previewTexts;
}

namespace {

// SaveSettings must give back every key, each as loaded except `changed`.
void CheckSaved(Plugin::IPlugin& plugin, SettingsStore& store, Checks& checks,
                SettingKey changed = SettingKey::Count, int changedValue = 0) {
  store.ForgetSaved();
  plugin.SaveSettings(&store);
  checks.Expect(store.AllSaved(), "SaveSettings left a key out");
  for (int i = 0; i < kSettingCount; ++i) {
    const auto key = static_cast<SettingKey>(i);
    const int expected = key == changed ? changedValue : store.Loaded(key);
    if (store.Saved(key) != expected) {
      checks.Fail("SaveSettings wrote another value for key number", i);
    }
  }
}

}  // namespace

void ExerciseSettings(Plugin::IPlugin& plugin, SettingsStore& store, Checks& checks,
                      StringLedger& strings) {
  plugin.LoadSettings(&store);
  CheckSaved(plugin, store, checks);

  Plugin::IPropertyListViewController* controller = plugin.GetSettingsController();
  if (controller == nullptr) {
    checks.Fail("GetSettingsController gave null");
    return;
  }
  PropertyPage page(checks, strings);
  controller->Populate(&page);
  checks.Expect(page.Groups() == kGroupCount && page.Items() == kItemCount,
                "the page does not show the four groups and six items");
  checks.Expect(page.PreviewShown(), "the page shows no preview");
  for (int id = 0; id < kItemCount; ++id) {
    checks.Expect(controller->ValidateItem(id), "an item as populated was refused");
  }
  checks.Expect(controller->ValidateAll() && page.Messages() == 0,
                "the page as populated was refused");

  wchar_t loadedLength[12];
  DecimalText(store.Loaded(SettingKey::PointLen), loadedLength);
  wchar_t loadedCodeStart[12];
  DecimalText(store.Loaded(SettingKey::CodeStart), loadedCodeStart);

  // A length that is no number: refused with a message.
  page.Edit(kNameLengthItem, L"abc");
  checks.Expect(!controller->ValidateItem(kNameLengthItem) && page.Messages() == 1,
                "a length that is no number was accepted");
  page.Edit(kNameLengthItem, loadedLength);

  // A code that starts inside the name: a number, but not a layout.
  wchar_t inside[12];
  DecimalText(store.Loaded(SettingKey::PointStart), inside);
  page.Edit(kCodeStartItem, inside);
  checks.Expect(controller->ValidateItem(kCodeStartItem), "a code start was refused");
  checks.Expect(!controller->ValidateAll() && page.Messages() == 2,
                "a code overlapping the name was accepted");
  page.Edit(kCodeStartItem, loadedCodeStart);

  // Applied unchanged, the settings stay as loaded; one shorter name is applied and saved.
  checks.Expect(controller->ValidateAll(), "the restored page was refused");
  controller->Apply();
  CheckSaved(plugin, store, checks);
  const int shorter = store.Loaded(SettingKey::PointLen) - 1;
  if (shorter >= 1) {
    wchar_t text[12];
    DecimalText(shorter, text);
    page.Edit(kNameLengthItem, text);
    checks.Expect(controller->ValidateItem(kNameLengthItem) && controller->ValidateAll(),
                  "a shorter name was refused");
    controller->Apply();
    CheckSaved(plugin, store, checks, SettingKey::PointLen, shorter);
  }
  controller->Close();
  page.ReleaseKeptChoices();

  // Back to the settings the import is to run with.
  plugin.LoadSettings(&store);
  CheckSaved(plugin, store, checks);
}

}  // namespace msvchost
