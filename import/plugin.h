// The plug-in object: identity, settings, the settings page's controller and the import.
#pragma once

#include <string>

#include "import/import_settings.h"
#include "sdk/host_interfaces.h"
#include "sdk/plugin_interfaces.h"
#include "sdk/ref_counted.h"

class CImportPluginImpl : public Plugin::CPluginImpl<Plugin::IGroundBasedMIP>,
                          public Plugin::IPropertyListViewController {
 public:
  CImportPluginImpl() = default;

  // Identity (plugin.cpp).
  Plugin::IPlugin* GetInterface(int kind) override;
  BSTR GetName() override;
#if M5_EXPLICIT_STRUCT_RESULT
  GUID* GetClassId(GUID* result) override;
  using Plugin::IPlugin::GetClassId;
#else
  GUID GetClassId() override;
#endif
  int GetKind() override;
  BSTR GetFileFilter() override;
  BSTR GetFormatName() override;

  // Settings (plugin.cpp, import_settings.cpp).
  void LoadSettings(ISettingsReader* reader) override;
  void SaveSettings(ISettingsWriter* writer) override;
  Plugin::IPropertyListViewController* GetSettingsController() override;

  // The import (import_driver.cpp).
  void Import(Plugin::IEnumerator<const wchar_t*>* files, IMeasurementSink* sink) override;

  // The settings page (settings_page.cpp).
  void Populate(IPropertyListView* view) override;
  bool ValidateItem(int id) override;
  bool ValidateAll() override;
  void Apply() override;
  void Close() override;

  const ImportSettings& Settings() const {
    return m_settings;
  }

 private:
  // One file, from BeginFile to the last progress. A failure of the file's own is reported
  // on it and stays here.
  void ImportFile(const wchar_t* current, IMeasurementSink* sink);
  void ReadAndParse(const std::wstring& path, IMeasurementSink* sink);

  // The host's view of the settings page; borrowed, set by Populate, never released.
  IPropertyListView* m_view = nullptr;
  ImportSettings m_settings;
};
