#pragma once
// Machine-wide values by full registry path, and the application names of
// the per-user settings. Failures are logged (without a message) and the
// caller goes on; a failed read gives the empty value.
// Qt-free header.
#include <cstdint>
#include <string>

#include "platform/MachineStore.h"

namespace ZVK_Registry {

using platform::RegValue;

void CreateKey(const std::string& path, const std::string& value);       // text (REG_SZ)
void CreateNumericKey(const std::string& path, long long value);          // 32-bit number (REG_DWORD)
std::string ReadKey(const std::string& path);                             // as text
RegValue ReadKeyV(const std::string& path);                               // as stored
void DeleteKey(const std::string& path);
// Trims the caller's text in place.
bool RegKeyExists(std::string& path);
bool RegKeyExists(const std::string& path);

// "HKEY_LOCAL_MACHINE\Software\<application>\<section>\<key>"
std::string MachinePath(const std::string& application, const std::string& section, const std::string& key);
// A text value is stored as text, anything else as a number.
void SaveRegSetting(const std::string& application, const std::string& section, const std::string& key,
                    const RegValue& value);
void SaveRegSetting(const std::string& application, const std::string& section, const std::string& key,
                    long long value);
RegValue GetRegSetting(const std::string& application, const std::string& section, const std::string& key,
                       const RegValue& defaultValue);

// Per-user settings layout: section "Settings" under
// "ZVK\<gAppName>\<gUserName>" (user level) and that name & "\" & profile.
inline constexpr const char* kSettingsSection = "Settings";
std::string UserSettingsApp();
// Stores one per-user value; a value that cannot be stored throws
// "Permission denied" (70) for the caller's error handler to log, as every
// other failing step is.
void SaveUserSetting(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& value);
std::string ProfileSettingsApp(const std::string& profile);

}  // namespace ZVK_Registry
