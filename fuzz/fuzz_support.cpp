#include "fuzz/fuzz_support.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "tests/support/promise.h"
#include "tests/support/recording_host.h"

namespace m5fuzz {

namespace {

// Name start, name length, code start, code length.
constexpr int kLayouts[8][4] = {
    {1, 14, 15, 13},     {15, 13, 1, 14},          {5, 3, 10, 2}, {1, 14, 14, 13}, {0, 14, 15, 13},
    {-5, 3, INT_MIN, 2}, {INT_MAX, INT_MAX, 1, 1}, {1, 0, 15, 0},
};

}  // namespace

ImportSettings SettingsFromByte(std::uint8_t byte) {
  ImportSettings settings;
  const int* layout = kLayouts[(byte >> 2) & 7];
  settings.PointStart = layout[0];
  settings.PointLen = layout[1];
  settings.CodeStart = layout[2];
  settings.CodeLen = layout[3];
  settings.AngleMode = (byte >> 1) & 1;
  settings.CodeStr = byte & 1;
  return settings;
}

m5test::SettingsStore StoreOf(const ImportSettings& settings) {
  m5test::SettingsStore store;
  settings.Save(&store);
  return store;
}

void FillFrom(m5test::SettingsStore& store, InputReader& input) {
  for (auto& entry : store.values) {
    entry.second = input.Int();
  }
}

std::wstring WriteScratchFile(const std::uint8_t* data, std::size_t size) {
  static std::string path;  // one file per fuzzing process, rewritten for every input
  if (path.empty()) {
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    path = std::string(dir) + "/m5fuzz-" + std::to_string(getpid()) + ".dat";
  }
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) {
    std::abort();
  }
  if (size != 0 && std::fwrite(data, 1, size, file) != size) {
    std::abort();
  }
  std::fclose(file);
  return std::wstring(path.begin(), path.end());
}

std::uint8_t InputReader::Byte() {
  return m_pos < m_size ? m_data[m_pos++] : 0;
}

int InputReader::Int() {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) {
    value = (value << 8) | Byte();
  }
  int result;
  std::memcpy(&result, &value, sizeof result);
  return result;
}

std::wstring InputReader::Text() {
  std::wstring text;
  const int length = Byte() % 13;
  for (int i = 0; i < length && !Empty(); ++i) {
    const std::uint8_t byte = Byte();
    // Mostly digits and signs, where the interesting number readings are.
    static constexpr wchar_t kCommon[] = L"0123456789+- ";
    text += byte < 0xC0 ? kCommon[byte % 13] : static_cast<wchar_t>(byte * 131);
  }
  return text;
}

std::unique_ptr<m5test::PropertyListView> FuzzView(InputReader& input) {
  auto view = std::make_unique<m5test::PropertyListView>(m5test::CallLog::Counted,
                                                         m5test::FilledItems::Kept);
  view->onChoiceItem = [&input](Plugin::IComboItem*) {
    return input.Byte() & 1 ? m5test::ChoiceItem::Kept : m5test::ChoiceItem::Left;
  };
  return view;
}

void Edit(m5test::PropertyListView& view, int id, InputReader& input) {
  if (id < 0) {
    return;
  }
  if (id == 0 || id == 5) {
    const int choice = input.Byte() % 4 - 1;  // -1 (nothing chosen), the choices, one beyond
    if (choice == -1) {
      view.choices.erase(id);
    } else {
      view.choices[id] = choice;
    }
    return;
  }
  const bool given = (input.Byte() & 7) != 0;  // now and then the view gives no text
  const std::wstring text = input.Text();
  if (given) {
    view.texts[id] = text;
  } else {
    view.texts.erase(id);
  }
}

void CheckReferences(const m5test::RecordingSink& sink) {
  if (sink.OutstandingReferences() != 0 || sink.OverReleases() != 0) {
    std::fprintf(stderr, "unbalanced references: %d outstanding, %d released too often\n",
                 sink.OutstandingReferences(), sink.OverReleases());
    std::abort();
  }
}

void CheckEveryPointKept(const std::wstring& path, const ImportSettings& settings,
                         const m5test::RecordingSink& sink) {
  const auto lines = m5test::ReadLinesAsImported(path, settings);
  if (!lines) {
    std::abort();  // the scratch file was written a moment ago
  }
  std::vector<m5test::LostPoint> lost = m5test::FindLostPoints(*lines, settings, sink.Calls());
  const std::vector<m5test::LostPoint> blocks =
      m5test::FindUnnamedBlocks(*lines, settings, sink.Calls());
  lost.insert(lost.end(), blocks.begin(), blocks.end());
  if (!lost.empty()) {
    std::fprintf(stderr, "point records or data blocks neither imported nor reported:\n%s",
                 m5test::Describe(lost).c_str());
    std::abort();
  }
}

void CheckComboItems(const m5test::PropertyListView& view) {
  for (const Plugin::Ref<Plugin::IComboItem>& item : view.kept) {
    if (item->GetId() < 0) {
      std::abort();
    }
  }
}

}  // namespace m5fuzz
