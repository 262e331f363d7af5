// Choices of a property-list choice item, and the cursor that hands them to the host.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/system_string.h"
#include "sdk/contained_call.h"
#include "sdk/plugin_interfaces.h"
#include "sdk/ref_counted.h"

namespace Plugin {
namespace Detail {

// One (id, text) choice. Plain counter: the host uses it on the plug-in's thread.
class CComboItem : public CRefCountedImpl<IComboItem, 0> {
 public:
  CComboItem(int id, std::wstring text) : m_id(id), m_text(std::move(text)) {}

  int GetId() override { return m_id; }
  // A new copy on every call; the caller frees it. Null when it cannot be made.
  BSTR GetText() override {
    return CallContained(BSTR{}, [this] { return SysAllocString(m_text.c_str()); });
  }

 private:
  int m_id;
  std::wstring m_text;
};

}  // namespace Detail

// A cursor over a vector it does not own. It holds no references on the elements and
// hands them out borrowed. A new cursor stands on the first element.
template <class Container>
class CEnumeratorImpl : public IEnumerator<typename Container::value_type> {
 public:
  explicit CEnumeratorImpl(const Container* items) : m_cursor(0), m_items(items) {}

  bool IsValid() override { return m_cursor < m_items->size(); }
  void Next() override {
    if (m_cursor < m_items->size()) {
      ++m_cursor;
    }
  }
  typename Container::value_type Current() override { return (*m_items)[m_cursor]; }
  void Reset() override { m_cursor = 0; }

 private:
  typename Container::size_type m_cursor;
  const Container* m_items;
};

}  // namespace Plugin
