#include "platform/string_table.h"

namespace m5::platform {

namespace {

struct StringEntry {
  unsigned int id;
  const wchar_t* text;
};

constexpr StringEntry kStrings[] = {
#define M5_STRING(id, text) {id, text},
#include "resources/strings.inc"
#undef M5_STRING
};

}  // namespace

std::wstring LoadResourceString(unsigned int id) {
  for (const StringEntry& entry : kStrings) {
    if (entry.id == id) {
      return entry.text;
    }
  }
  return {};
}

}  // namespace m5::platform
