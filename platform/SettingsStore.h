#pragma once
// The per-user application-settings store: text values by application name,
// section and key. Each application name is one INI file below
// $XDG_CONFIG_HOME/Castellan/ (application "ZVK\Castellan\JANE DOE" is the
// file "ZVK/Castellan/JANE DOE.ini"), so tests that set XDG_CONFIG_HOME run in
// a store of their own.
// Qt-free header.
#include <string>

class QSettings;

namespace platform {

std::string GetSetting(const std::string& appName, const std::string& section,
                       const std::string& key, const std::string& defaultValue = "");
// False when the value could not be stored (the folder or file cannot be
// written, or a file stands where a folder belongs).
bool SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& value);
void DeleteSetting(const std::string& appName, const std::string& section, const std::string& key);

// Writes what was set on store to its file; false when the write failed.
// (Shared with the machine-wide store, which keeps INI files too.)
bool SyncSettings(QSettings& store);

// The folder every per-user file of the program lives in:
// $XDG_CONFIG_HOME/Castellan (default ~/.config/Castellan).
std::string UserSettingsRoot();

// The INI file that holds an application's values (for tests and the README).
std::string SettingsFilePath(const std::string& appName);

}  // namespace platform
