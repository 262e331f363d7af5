// The settings page: arbitrary item texts and choices through every controller operation.
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  m5fuzz::InputReader input(data, size);
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());

  // Whatever a settings store may hold, any int in any key.
  m5test::SettingsStore store = m5fuzz::StoreOf(ImportSettings());
  m5fuzz::FillFrom(store, input);
  plugin->LoadSettings(&store);

  const std::unique_ptr<m5test::PropertyListView> view = m5fuzz::FuzzView(input);
  Plugin::IPropertyListViewController* controller = plugin->GetSettingsController();
  controller->Populate(view.get());
  while (!input.Empty()) {
    const int id = input.Byte() % 8 - 1;  // -1 to 6: the items and a few that are not
    m5fuzz::Edit(*view, id, input);
    controller->ValidateItem(id);
  }
  controller->ValidateAll();
  controller->Apply();
  controller->Populate(view.get());  // the preview of what was applied
  plugin->SaveSettings(&store);
  controller->Close();
  m5fuzz::CheckComboItems(*view);
  return 0;
}
