// How the settings page speaks to the host's property list: numbers in text items, and
// the choices of a choice item.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

struct IPropertyListView;

namespace m5::settings {

// One choice of a choice item: the id the host reports back and the text it shows.
struct Choice {
  int id;
  const wchar_t* text;
};

// A borrowed view of a fixed table of choices.
class ChoiceList {
 public:
  template <std::size_t N>
  constexpr ChoiceList(const Choice (&choices)[N])  // NOLINT: a view of the table
      : m_begin(choices), m_end(choices + N) {}

  const Choice* begin() const { return m_begin; }
  const Choice* end() const { return m_end; }

 private:
  const Choice* m_begin;
  const Choice* m_end;
};

// The whole text as a 32-bit number: an optional sign, then decimal digits and nothing
// else, within range. Null or empty text, a blank or any other character fails.
std::optional<std::int32_t> ParseNumber(const wchar_t* text);

// The plain decimal text of a number, with "-" when negative.
std::wstring DecimalText(std::int32_t value);

// The text of item `id` read as a number; nothing when the view supplies no text or the
// text is not a number.
std::optional<std::int32_t> ReadNumber(IPropertyListView& view, int id);

// The choice the view reports for item `id`, when it is one of `choices`.
std::optional<int> ReadChoice(IPropertyListView& view, int id, ChoiceList choices);

// Adds a choice item showing `choices` with `selectedId` chosen. The choices are handed
// over as counted items that live through the call; afterwards only those the host kept a
// reference on survive.
void AddChoiceItem(IPropertyListView& view, int id, const wchar_t* caption, ChoiceList choices,
                   int selectedId);

}  // namespace m5::settings
