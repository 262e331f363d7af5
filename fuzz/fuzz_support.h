// What the fuzz targets share: settings from bytes, a scratch file, a fuzzed settings
// page, and the reference and promise checks that fail an input.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "import/import_settings.h"
#include "sdk/host_interfaces.h"
#include "tests/support/property_list_view.h"
#include "tests/support/settings_store.h"

namespace m5test {
class RecordingSink;
}

namespace m5fuzz {

class InputReader;

// Encoding from bit 0, angle mode from bit 1, a layout from bits 2 to 4 (defaults, other
// valid ones, overlapping, negative, zero and huge starts and lengths).
ImportSettings SettingsFromByte(std::uint8_t byte);

// A host's store holding the keys the plug-in saves, in the order it saves them.
m5test::SettingsStore StoreOf(const ImportSettings& settings);
// Whatever a store may hold: every key gets the next int of the input, in stored order.
void FillFrom(m5test::SettingsStore& store, InputReader& input);

// Writes the bytes to a per-process scratch file and returns its path.
std::wstring WriteScratchFile(const std::uint8_t* data, std::size_t size);

// Consumes the fuzzer's bytes.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool Empty() const { return m_pos >= m_size; }
  std::uint8_t Byte();
  int Int();
  // Up to 12 characters, wide, any code unit the bytes give.
  std::wstring Text();

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

// The tests' property list, answering what the page filled it with until the fuzzer edits
// an item; it keeps some of the choices it is given, as a host may, and releases them when
// it goes.
std::unique_ptr<m5test::PropertyListView> FuzzView(InputReader& input);
// A user's edit of the item: its text or choice from the input, or none at all.
void Edit(m5test::PropertyListView& view, int id, InputReader& input);

// Aborts when the plug-in left a reference on the host's factory or converters, or
// released one too many.
void CheckReferences(const m5test::RecordingSink& sink);
// Aborts, naming them, when the import of the file at path neither named some of its point
// records to the host nor reported them on their lines, or left a data block that plainly
// gives nothing unnamed on its line.
void CheckEveryPointKept(const std::wstring& path, const ImportSettings& settings,
                         const m5test::RecordingSink& sink);
// Aborts when a kept choice died before the view let go of it.
void CheckComboItems(const m5test::PropertyListView& view);

}  // namespace m5fuzz
