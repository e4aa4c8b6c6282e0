#include "support/ZVK_Registry.h"

#include <climits>

#include "platform/DoEvents.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"

namespace ZVK_Registry {
namespace {

// The failures as the script shell reports them.
void LogFailure(const char* place, platform::RegStatus status) {
  int32_t number = 0;
  std::string description;
  switch (status) {
    case platform::RegStatus::NotFound:
      number = -2147024894;
      description = "Unable to open registry key for reading";
      break;
    case platform::RegStatus::AccessDenied:
      number = ZVK_ErrorLog::kErrPermissionDenied;
      description = "Permission denied";
      break;
    default:
      number = -2147024893;
      description = "Invalid root in registry key";
      break;
  }
  ZVK_ErrorLog::WriteErrorLog(0, ZVK_ErrorLog::ApplicationTitle(), place, 0, number, description);
}

}  // namespace

void CreateKey(const std::string& path, const std::string& value) {
  const platform::RegStatus status = platform::RegWrite(path, RegValue(value));
  if (status == platform::RegStatus::Ok) return;
  LogFailure("CreateKey of Modul ZVK_Registry", status);
  ZVK_ErrorLog::WriteLogLine(path, value);
}

void CreateNumericKey(const std::string& path, long long value) {
  if (value < INT32_MIN || value > INT32_MAX) {
    ZVK_ErrorLog::WriteErrorLog(0, ZVK_ErrorLog::ApplicationTitle(), "CreateNumericKey of Modul ZVK_Registry", 0,
                                ZVK_ErrorLog::kErrOverflow, "Overflow");
    ZVK_ErrorLog::WriteLogLine(path, value);
    return;
  }
  const platform::RegStatus status = platform::RegWrite(path, RegValue(static_cast<int32_t>(value)));
  if (status == platform::RegStatus::Ok) return;
  LogFailure("CreateNumericKey of Modul ZVK_Registry", status);
  ZVK_ErrorLog::WriteLogLine(path, value);
}

RegValue ReadKeyV(const std::string& path) {
  RegValue value;
  const platform::RegStatus status = platform::RegRead(path, value);
  if (status == platform::RegStatus::Ok) return value;
  LogFailure("ReadKeyV of Modul ZVK_Registry", status);
  ZVK_ErrorLog::WriteLogLine(path);
  return RegValue();
}

std::string ReadKey(const std::string& path) {
  RegValue value;
  const platform::RegStatus status = platform::RegRead(path, value);
  if (status == platform::RegStatus::Ok) return value.AsText();
  LogFailure("ReadKey of Modul ZVK_Registry", status);
  ZVK_ErrorLog::WriteLogLine(path);
  return "";
}

void DeleteKey(const std::string& path) {
  if (!RegKeyExists(path)) return;
  const platform::RegStatus status = platform::RegDelete(path);
  if (status == platform::RegStatus::Ok) return;
  LogFailure("DeleteKey of Modul ZVK_Registry", status);
  ZVK_ErrorLog::WriteLogLine(path);
}

bool RegKeyExists(std::string& path) {
  path = ZVK_File_Dir::Trim(path);
  RegValue value;
  // A failed read is the answer, not an error.
  const bool exists = platform::RegRead(path, value) == platform::RegStatus::Ok;
  platform::DoEvents();
  return exists;
}

bool RegKeyExists(const std::string& path) {
  std::string copy = path;
  return RegKeyExists(copy);
}

std::string MachinePath(const std::string& application, const std::string& section, const std::string& key) {
  return "HKEY_LOCAL_MACHINE\\Software\\" + application + "\\" + section + "\\" + key;
}

void SaveRegSetting(const std::string& application, const std::string& section, const std::string& key,
                    const RegValue& value) {
  const std::string path = MachinePath(application, section, key);
  if (value.type == RegValue::Type::String)
    CreateKey(path, value.text);
  else
    CreateNumericKey(path, value.number);
}

void SaveRegSetting(const std::string& application, const std::string& section, const std::string& key,
                    long long value) {
  CreateNumericKey(MachinePath(application, section, key), value);
}

RegValue GetRegSetting(const std::string& application, const std::string& section, const std::string& key,
                       const RegValue& defaultValue) {
  const std::string path = MachinePath(application, section, key);
  if (RegKeyExists(path)) return ReadKeyV(path);
  return defaultValue;
}

void SaveUserSetting(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& value) {
  if (!platform::SaveSetting(application, section, key, value))
    throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrPermissionDenied, "Permission denied");
}

std::string UserSettingsApp() { return "ZVK\\" + ZVK_Identity::gAppName + "\\" + ZVK_Identity::gUserName; }

std::string ProfileSettingsApp(const std::string& profile) { return UserSettingsApp() + "\\" + profile; }

}  // namespace ZVK_Registry
