// Choices handed to the host: the cursor over them and their lifetime.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sdk/combo_item.h"
#include "sdk/ref.h"

namespace {

using Plugin::IComboItem;
using Items = std::vector<IComboItem*>;

Plugin::Detail::CComboItem* MakeItem(int id, const wchar_t* text) {
  auto* item = new Plugin::Detail::CComboItem(id, text);
  item->AddRef();
  return item;
}

TEST(Enumerator, WalksTwoItemsAndStopsAtTheEnd) {
  auto* first = MakeItem(0, L"a");
  auto* second = MakeItem(1, L"b");
  Items items{first, second};
  Plugin::CEnumeratorImpl<Items> cursor(&items);

  ASSERT_TRUE(cursor.IsValid());
  EXPECT_EQ(cursor.Current(), first);
  cursor.Next();
  ASSERT_TRUE(cursor.IsValid());
  EXPECT_EQ(cursor.Current(), second);
  cursor.Next();
  EXPECT_FALSE(cursor.IsValid());
  cursor.Next();
  EXPECT_FALSE(cursor.IsValid());
  cursor.Reset();
  ASSERT_TRUE(cursor.IsValid());
  EXPECT_EQ(cursor.Current(), first);

  EXPECT_TRUE(first->Release());
  EXPECT_TRUE(second->Release());
}

TEST(Enumerator, OverNothingIsAtTheEndAtOnce) {
  Items items;
  Plugin::CEnumeratorImpl<Items> cursor(&items);
  EXPECT_FALSE(cursor.IsValid());
}

TEST(ComboItem, LivesOnlyAsLongAsSomeoneHoldsIt) {
  auto* item = MakeItem(5, L"UTF-8");
  item->AddRef();                 // the host keeps it
  EXPECT_FALSE(item->Release());  // the plug-in lets go after the call
  EXPECT_EQ(item->GetId(), 5);
  EXPECT_TRUE(item->Release());  // the host's release destroys it
}

TEST(ComboItem, TextIsANewStringOnEveryCall) {
  auto item = Plugin::Ref<IComboItem>::adopt(MakeItem(0, L"Win1251"));
  BSTR first = item->GetText();
  BSTR second = item->GetText();
  ASSERT_NE(first, nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(std::wstring(first), L"Win1251");
  EXPECT_EQ(std::wstring(second), L"Win1251");
  SysFreeString(first);
  SysFreeString(second);
}

// A counted object that says when it dies, for the holder's tests.
struct Probe : Plugin::CRefCountedImpl<Plugin::IRefCounted, 0> {
  explicit Probe(bool& dead) : m_dead(dead) {}
  ~Probe() override { m_dead = true; }
  bool& m_dead;
};

TEST(Ref, AdoptTakesOverAndRetainAddsOne) {
  bool dead = false;
  auto* probe = new Probe(dead);
  probe->AddRef();
  {
    auto owner = Plugin::Ref<Plugin::IRefCounted>::adopt(probe);
    {
      auto keeper = Plugin::Ref<Plugin::IRefCounted>::retain(probe);
      EXPECT_EQ(probe->RefCount(), 2);
      auto copy = keeper;
      EXPECT_EQ(probe->RefCount(), 3);
      auto moved = std::move(copy);
      EXPECT_FALSE(copy);
      EXPECT_EQ(probe->RefCount(), 3);
    }
    // Back to the owner's one reference: alive now, gone with the owner's release.
    EXPECT_FALSE(dead);
    owner.reset();
    EXPECT_TRUE(dead);
  }
}

TEST(Ref, DetachHandsTheReferenceOn) {
  bool dead = false;
  auto* probe = new Probe(dead);
  probe->AddRef();
  auto owner = Plugin::Ref<Plugin::IRefCounted>::adopt(probe);
  Plugin::IRefCounted* raw = owner.detach();
  EXPECT_FALSE(owner);
  EXPECT_FALSE(dead);
  EXPECT_TRUE(raw->Release());
  EXPECT_TRUE(dead);
}

}  // namespace
