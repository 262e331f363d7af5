// What both commands of m5import work with, built once: the loaded plug-in, the settings it
// keeps (learned from it), the store read from the settings file, and where that file lies.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "host/session/plugin_loader.h"
#include "host/session/settings_store.h"

namespace m5host {

// What a session is opened for: an import runs only with settings the plug-in's page
// accepts; the settings command opens one to mend them.
enum class SessionPurpose { Import, EditSettings };

struct SessionOptions {
  std::optional<std::string> pluginPath;    // else $M5_PLUGIN, beside the program, installed
  std::optional<std::string> settingsPath;  // else the user's configuration folder
  SessionPurpose purpose = SessionPurpose::Import;
};

struct Session {
  LoadedPlugin plugin;
  std::vector<SettingKey> keys;  // in the order the plug-in reads them
  SettingsStore store;
  // None when the system has no configuration folder and no --settings was given; the
  // store is then empty and the plug-in keeps its defaults.
  std::optional<std::string> settingsPath;

  // The value the plug-in holds for the key: the store's, else the plug-in's default.
  int Value(const std::string& key) const;
};

// Why no session was opened: the plug-in or the settings cannot be used as given, or the
// plug-in failed inside while judging them (memory ran out), which no edit of the settings
// mends.
enum class SessionFailure { Unusable, PluginFailed };

// The plug-in loaded and its settings read from the store; nothing, after a complaint and
// with failure set, when the plug-in or the settings file cannot be loaded, or when an
// import would run with a layout the plug-in's settings page refuses or could not judge.
std::optional<Session> OpenSession(const SessionOptions& options, SessionFailure& failure);

// The settings the plug-in reads, learned as any host must: by recording what LoadSettings
// reads, with the page item that shows each one. Leaves probe values in the plug-in: load
// the real settings after it.
std::vector<SettingKey> LearnSettings(Plugin::IGroundBasedMIP& plugin);

// A complaint on stderr, "m5import: text".
void Complain(const std::string& text);

// The plug-in that pluginPath names (or the default one), loaded; nothing, after a
// complaint, when it cannot be.
std::optional<LoadedPlugin> LoadChosenPlugin(const std::optional<std::string>& pluginPath);

// Refused says why on the page; a refusal without a word is the plug-in's own failure (its
// page answers "no" when memory runs out inside it), not a judgement of the settings.
enum class PageVerdict { Accepted, Refused, Unjudged };

// The settings the plug-in holds, judged by its own settings page as a confirmed edit is;
// what the page says goes to out as "caption: text".
PageVerdict JudgeHeldSettings(Plugin::IGroundBasedMIP& plugin, std::ostream& out);

}  // namespace m5host
