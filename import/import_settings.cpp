#include "import/import_settings.h"

#include "sdk/host_interfaces.h"

// Placeholder until the settings store is wired up.
void ImportSettings::Load(ISettingsReader*) {}
void ImportSettings::Save(ISettingsWriter*) const {}
