#include "import/plugin.h"

#include "platform/system_string.h"
#include "sdk/contained_call.h"

namespace {

// The first character is the Cyrillic EM (U+041C), as the host's format list shows it.
constexpr wchar_t kPluginName[] =
    L"\x041C"
    L"5 - Trimble 3600";
constexpr wchar_t kFileFilter[] = L"*.dat;*.txt";

// {CD3C6B69-B875-4BD1-9029-9B44080CE735}
constexpr GUID kClassId = {
    0xCD3C6B69, 0xB875, 0x4BD1, {0x90, 0x29, 0x9B, 0x44, 0x08, 0x0C, 0xE7, 0x35}};

// The highest interface kind the plug-in answers; kinds 0 and 1 name its bases.
constexpr int kPluginKind = 2;

// A text the host asked for, or null when it cannot be made.
BSTR TextResult(const wchar_t* text) {
  return Plugin::CallContained(BSTR{}, [text] { return SysAllocString(text); });
}

}  // namespace

Plugin::IPlugin* CImportPluginImpl::GetInterface(int kind) {
  if (kind < 0 || kind > kPluginKind) {
    return nullptr;
  }
  AddRef();
  return this;
}

BSTR CImportPluginImpl::GetName() {
  return TextResult(kPluginName);
}

#if M5_EXPLICIT_STRUCT_RESULT
GUID* CImportPluginImpl::GetClassId(GUID* result) {
  *result = kClassId;
  return result;
}
#else
GUID CImportPluginImpl::GetClassId() {
  return kClassId;
}
#endif

int CImportPluginImpl::GetKind() {
  return kPluginKind;
}

BSTR CImportPluginImpl::GetFileFilter() {
  return TextResult(kFileFilter);
}

BSTR CImportPluginImpl::GetFormatName() {
  return TextResult(kPluginName);
}

void CImportPluginImpl::LoadSettings(ISettingsReader* reader) {
  // Read whole or not at all: a load that breaks off keeps the settings the plug-in had.
  Plugin::CallContained([&] {
    ImportSettings loaded = m_settings;
    loaded.Load(reader);
    m_settings = loaded;
  });
}

void CImportPluginImpl::SaveSettings(ISettingsWriter* writer) {
  Plugin::CallContained([&] { m_settings.Save(writer); });
}

Plugin::IPropertyListViewController* CImportPluginImpl::GetSettingsController() {
  return this;
}
