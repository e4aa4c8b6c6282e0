#include "support/ZVK_GetSystemInfos.h"

#include <pwd.h>
#include <unistd.h>

#include <QStringList>
#include <QSysInfo>
#include <QString>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/AppPath.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Registry.h"

namespace ZVK_GetSystemInfos {
namespace {

constexpr size_t kUserBuffer = 25;  // the name and its terminating NUL

std::string Upper(const std::string& text) {
  return QString::fromStdString(text).toUpper().toStdString();
}

std::string FirstLine(const char* path) {
  std::ifstream in(path);
  std::string line;
  if (in) std::getline(in, line);
  return ZVK_File_Dir::Trim(line);
}

}  // namespace

bool IsMachineNumber(const std::string& text) {
  if (text.size() != 9) return false;
  for (char c : text)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string MachineIdFilePath() {
  return (std::filesystem::path(platform::AppPath()).parent_path() / "Common" / kMachineIdFileName).string();
}

std::string MachineNumberOverride() {
  const char* fromEnvironment = std::getenv(kMachineIdVariable);
  const std::string sources[][2] = {
      {fromEnvironment != nullptr ? ZVK_File_Dir::Trim(fromEnvironment) : "", kMachineIdVariable},
      {platform::FirstSettingLine(MachineIdFilePath()), MachineIdFilePath()},
  };
  for (const auto& source : sources) {
    const std::string& value = source[0];
    const std::string& where = source[1];  // not a structured binding: clang before 16 cannot capture one in a lambda
    if (value.empty()) continue;
    if (IsMachineNumber(value)) return value;
    // The number names every correspondence file of this PC: a wrong one
    // must not reach a file name, so it is reported and the next source used.
    Guarded("GetPCInfos of Modul ZVK_GetSystemInfos", [&] {
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall,
                                       "Machine number in " + where + " is not nine digits; ignored");
    }, false);
  }
  return "";
}

std::string ClipNull(const std::string& text) {
  std::string out;
  for (char c : text)
    if (c != '\0') out += c;
  return out;
}

std::string UserNameFrom(const std::string& raw) {
  const std::string name = Upper(ZVK_File_Dir::Trim(ClipNull(raw)));
  return name.empty() ? "ADMIN" : name;
}

std::string CompanyNameFrom(const std::string& raw) {
  const std::string name = Upper(ZVK_File_Dir::Trim(ClipNull(raw)));
  if (name.empty() || name.find("HKEY_LOCAL_MACHINE") != std::string::npos) return "NONE";
  return name;
}

std::string MachineNumber(int32_t serial) {
  const long long k = std::llabs(static_cast<long long>(serial)) % 1000000000LL;
  const std::string digits = "000000000" + std::to_string(k);
  return digits.substr(digits.size() - 9);
}

int32_t SerialFromIdentifier(const std::string& identifier) {
  uint32_t hash = 2166136261u;  // FNV-1a: cheap, stable across runs and builds
  for (unsigned char c : identifier) {
    hash ^= c;
    hash *= 16777619u;
  }
  return static_cast<int32_t>(hash);
}

void GetPCInfos() {
  using namespace ZVK_Identity;
  std::string user;
  Guarded("GetPCInfos of Modul ZVK_GetSystemInfos", [&] { user = GetUser(); }, false);
  gUserName = UserNameFrom(user);
  Guarded("GetPCInfos of Modul ZVK_GetSystemInfos", [&] { gMachineID = MachineNumber(GetVolumeSerial("C")); },
          false);
  if (gMachineID.empty()) gMachineID = MachineNumber(0);
  Guarded("GetPCInfos of Modul ZVK_GetSystemInfos", [&] {
    if (const std::string own = MachineNumberOverride(); !own.empty()) gMachineID = own;
  }, false);
  std::string company;
  Guarded("GetPCInfos of Modul ZVK_GetSystemInfos", [&] { company = GetCompany(); }, false);
  gCompanyName = CompanyNameFrom(company);
}

std::string GetUser() {
  std::string name;
  if (const passwd* pw = getpwuid(geteuid()); pw != nullptr && pw->pw_name != nullptr) name = pw->pw_name;
  if (name.empty()) {
    const char* env = std::getenv("USER");
    if (env != nullptr) name = env;
  }
  return name.size() < kUserBuffer ? name : std::string();
}

std::string GetCompany() {
  std::string result;
  Guarded("GetCompany of Modul ZVK_GetSystemInfos", [&] {
    GetWinVersion();
    const char* env = std::getenv("ORGANIZATION");
    if (env != nullptr && *env != '\0') {
      result = env;
      return;
    }
    std::string path = gOsVersionInfo.dwPlatformId == 2
                           ? "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\RegisteredOrganization"
                           : "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\RegisteredOrganization";
    // Only an organisation someone has stored is read: a machine without one
    // is normal here and not worth an error entry at every start.
    if (ZVK_Registry::RegKeyExists(path)) result = ZVK_Registry::ReadKey(path);
  }, false);
  return result;
}

int32_t GetVolumeSerial(const std::string&) {
  // The machine identifier stays the same for the life of the installation,
  // which is what the volume serial number gave.
  for (const char* path : {"/etc/machine-id", "/var/lib/dbus/machine-id"}) {
    const std::string id = FirstLine(path);
    if (!id.empty()) return SerialFromIdentifier(id);
  }
  const QByteArray unique = QSysInfo::machineUniqueId();
  if (!unique.isEmpty()) return SerialFromIdentifier(unique.toStdString());
  return 0;
}

std::string GetSysDir() {
  std::string result;
  Guarded("GetSysDir of Modul ZVK_GetSystemInfos", [&] { result = "/usr/lib"; }, false);
  return result;
}

std::string GetWinDir() {
  std::string result;
  Guarded("GetWinDir of Modul ZVK_GetSystemInfos", [&] { result = "/usr"; }, false);
  return result;
}

std::string WinVersionName(const OsVersionInfo& v) {
  const int32_t major = v.dwMajorVersion, minor = v.dwMinorVersion, build = v.dwBuildNumber;
  switch (v.dwPlatformId) {
    case 0:
      return "Windows 32s";
    case 1:
      if (minor < 10) {
        if (build == 950) return "Windows 95";
        if (build >= 951 && build <= 1080) return "Windows 95 SP1";
        return "Windows 95 OSR2";
      }
      if (minor == 10) {
        if (build == 1998) return "Windows 98";
        if (build >= 1999 && build <= 2182) return "Windows 98 SP1";
        if (build >= 2183) return "Windows 98 SE";
        return "";
      }
      return "Windows ME";
    case 2:
      if (major == 3) return "Windows NT 3.51";
      if (major == 4) return "Windows NT 4.0";
      if (major == 5) {
        if (minor == 0) return "Windows 2000";
        if (minor == 1) return "Windows XP";
        if (minor == 2) return "Windows 2003";
        return "unknown";
      }
      return "";
    case 3:
      if (major == 1) return "Windows CE 1.0";
      if (major == 2) return minor == 0 ? "Windows CE 2.0" : "Windows CE 2.1";
      return "Windows CE 3.0";
    default:
      return v.dwPlatformId > 3 ? "Unable To Get Windows Version" : "";
  }
}

int16_t WinVersionNumber(const std::string& name) {
  static const struct {
    const char* name;
    int16_t number;
  } kNumbers[] = {
      {"Windows CE 1.0", 1},  {"Windows CE 2.0", 2},  {"Windows CE 2.1", 3},  {"Windows CE 3.0", 4},
      {"Windows 32s", 9},     {"Windows 95 SP1", 10}, {"Windows 95 OSR2", 11}, {"Windows 98", 12},
      {"Windows 98 SP1", 13}, {"Windows 98 SE", 14},  {"Windows ME", 15},     {"Windows NT 3.51", 20},
      {"Windows NT 4.0", 21}, {"Windows 2000", 22},   {"Windows XP", 23},     {"Windows 2003", 24},
  };
  for (const auto& row : kNumbers)
    if (name == row.name) return row.number;
  return 0;
}

std::string GetWinVersion() {
  std::string result;
  Guarded("GetWinVersion of Modul ZVK_GetSystemInfos", [&] {
    OsVersionInfo info;
    const QStringList parts = QSysInfo::kernelVersion().split(QChar('.'));
    // "6.1.0-18-amd64": leading digits of each of the first three parts.
    auto number = [&](int i) {
      if (i >= parts.size()) return 0;
      int value = 0;
      for (QChar c : parts[i]) {
        if (!c.isDigit() || value > 100000000) break;
        value = value * 10 + c.digitValue();
      }
      return value;
    };
    info.dwMajorVersion = number(0);
    info.dwMinorVersion = number(1);
    info.dwBuildNumber = number(2);
    info.dwPlatformId = kPlatformNotWindows;
    info.szCSDVersion = QSysInfo::prettyProductName().left(127).toStdString();
    gOsVersionInfo = info;
    // The record's own text keeps the system's name; the version name stays
    // the table's, so callers that map it to a number see no Windows.
    result = WinVersionName(info);
  }, false);
  return result;
}

int16_t GetWinVersionNum() {
  int16_t result = 0;
  Guarded("GetWinVersionNum of Modul ZVK_GetSystemInfos", [&] { result = WinVersionNumber(GetWinVersion()); });
  return result;
}

}  // namespace ZVK_GetSystemInfos
