#include "import/plugin.h"

// Placeholders until the settings page is built.
void CImportPluginImpl::Populate(IPropertyListView* view) { m_view = view; }
bool CImportPluginImpl::ValidateItem(int) { return true; }
bool CImportPluginImpl::ValidateAll() { return true; }
void CImportPluginImpl::Apply() {}
void CImportPluginImpl::Close() {}
