#include "host/layout/observation_line.h"

#include <cwctype>

#include "host/os/text_encoding.h"

namespace m5host {

namespace {

// The name field of a point-identification text, trimmed as the import trims it; empty where
// the layout places it outside the text.
std::wstring_view NameIn(std::wstring_view text, const FieldLayout& layout) {
  if (layout.nameStart < 1 || layout.nameLength < 1 ||
      static_cast<std::size_t>(layout.nameStart) > text.size()) {
    return {};
  }
  std::wstring_view name = text.substr(static_cast<std::size_t>(layout.nameStart) - 1,
                                       static_cast<std::size_t>(layout.nameLength));
  while (!name.empty() && std::iswspace(static_cast<wint_t>(name.front()))) {
    name.remove_prefix(1);
  }
  while (!name.empty() && std::iswspace(static_cast<wint_t>(name.back()))) {
    name.remove_suffix(1);
  }
  return name;
}

}  // namespace

std::optional<int> ObservationLine(const PointRecords& records, const FieldLayout& layout,
                                   std::string_view name, std::size_t occurrence) {
  std::optional<int> first;
  std::size_t seen = 0;
  for (std::size_t i = 0; i < records.texts.size() && i < records.places.size(); ++i) {
    const RecordPlace& place = records.places[i];
    if (place.holds != RecordHolds::Distance || ToUtf8(NameIn(records.texts[i], layout)) != name) {
      continue;
    }
    if (seen++ == occurrence) {
      return place.line;
    }
    if (!first) {
      first = place.line;
    }
  }
  return first;
}

}  // namespace m5host
