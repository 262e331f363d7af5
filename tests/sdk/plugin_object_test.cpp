// The plug-in object as the host sees it: reference counts, interfaces, the export.
#include <gtest/gtest.h>

#ifdef M5_PLUGIN_FILE
#include <dlfcn.h>
#endif

#include "import/plugin.h"
#include "sdk/create_plugin.h"
#include "sdk/ref.h"

namespace {

// The counter is not part of the interface; the implementation exposes it for tests.
int RefCount(Plugin::IGroundBasedMIP* plugin) {
  return static_cast<CImportPluginImpl*>(plugin)->RefCount();
}

TEST(PluginObject, StartsWithOneReferenceAndDiesOnTheLastRelease) {
  Plugin::IGroundBasedMIP* plugin = CreatePlugin();
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(RefCount(plugin), 1);

  plugin->AddRef();
  EXPECT_FALSE(plugin->Release());
  EXPECT_EQ(RefCount(plugin), 1);

  EXPECT_TRUE(plugin->Release());
}

TEST(PluginObject, AnswersKindsZeroToTwoWithItself) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  for (int kind : {0, 1, 2}) {
    Plugin::IPlugin* same = plugin->GetInterface(kind);
    EXPECT_EQ(same, static_cast<Plugin::IPlugin*>(plugin.get())) << "kind " << kind;
    EXPECT_EQ(RefCount(plugin.get()), 2) << "kind " << kind;
    EXPECT_FALSE(same->Release());
  }
  for (int kind : {3, -1, 1000, -2147483647 - 1}) {
    EXPECT_EQ(plugin->GetInterface(kind), nullptr) << "kind " << kind;
    EXPECT_EQ(RefCount(plugin.get()), 1) << "kind " << kind;
  }
}

TEST(PluginObject, SettingsControllerIsBorrowed) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  EXPECT_NE(plugin->GetSettingsController(), nullptr);
  EXPECT_EQ(RefCount(plugin.get()), 1);
}

TEST(PluginObject, SharesOneAddressForItsThreeInterfaces) {
  auto plugin = Plugin::Ref<Plugin::IGroundBasedMIP>::adopt(CreatePlugin());
  Plugin::IGroundBasedMIP* mip = plugin.get();
  EXPECT_EQ(static_cast<void*>(static_cast<Plugin::IPlugin*>(mip)), static_cast<void*>(mip));
  EXPECT_EQ(static_cast<void*>(static_cast<Plugin::IFileImportPlugin*>(mip)),
            static_cast<void*>(mip));
}

#ifdef M5_PLUGIN_FILE
// Loads the shared library the way a host does and creates the plug-in through the symbol.
TEST(PluginLibrary, ExportsCreatePlugin) {
  void* library = dlopen(M5_PLUGIN_FILE, RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  auto create = reinterpret_cast<CreatePluginFunction>(dlsym(library, "CreatePlugin"));
  ASSERT_NE(create, nullptr);
  Plugin::IGroundBasedMIP* plugin = create();
  ASSERT_NE(plugin, nullptr);
  EXPECT_EQ(plugin->GetKind(), 2);
  EXPECT_TRUE(plugin->Release());
  // Nothing but the factory is visible from outside.
  EXPECT_EQ(dlsym(library, "SysAllocString"), nullptr);
  EXPECT_EQ(dlsym(library, "_ZN17CImportPluginImpl12GetInterfaceEi"), nullptr);
  dlclose(library);
}
#endif

}  // namespace
