#include "import/plugin.h"

// Placeholder until the import driver is built.
void CImportPluginImpl::Import(Plugin::IEnumerator<const wchar_t*>*, IMeasurementSink*) {}
void CImportPluginImpl::ImportFile(const std::wstring&, IMeasurementSink*) {}
