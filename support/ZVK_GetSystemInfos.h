#pragma once
// Who and where the program runs: user name, organisation, a stable machine
// number, the operating-system version record and the system folders.
// Qt-free header.
#include <cstdint>
#include <string>

namespace ZVK_GetSystemInfos {

// The version record in the classic layout. On this platform the numbers are
// the kernel's (major, minor, patch) and the platform identifier is
// kPlatformNotWindows.
struct OsVersionInfo {
  int32_t dwOSVersionInfoSize = 148;
  int32_t dwMajorVersion = 0;
  int32_t dwMinorVersion = 0;
  int32_t dwBuildNumber = 0;
  int32_t dwPlatformId = 0;
  std::string szCSDVersion;  // at most 128 characters
};
inline constexpr int32_t kPlatformNotWindows = 4;

inline OsVersionInfo gOsVersionInfo;
inline int16_t gWinVersionNum = 0;

// Fills gUserName, gMachineID and gCompanyName of ZVK_Identity.
void GetPCInfos();

// A machine number of its own for an installation that shares the machine
// with another one (two copies of the program playing each other, tests):
// the environment variable wins, then the first line of the file in the
// Common folder that is neither empty nor a comment ("#"). Exactly nine
// decimal digits; anything else is logged and ignored.
inline constexpr const char* kMachineIdVariable = "CASTELLAN_MACHINE_ID";
inline constexpr const char* kMachineIdFileName = "MachineId.txt";
std::string MachineIdFilePath();     // <program folder>/../Common/MachineId.txt
std::string MachineNumberOverride();  // "" when none (or only malformed ones) is set
bool IsMachineNumber(const std::string& text);

std::string GetUser();      // the login name; "" when it does not fit 24 characters
std::string ClipNull(const std::string& text);
std::string GetCompany();   // $ORGANIZATION, else the machine store's RegisteredOrganization
int32_t GetVolumeSerial(const std::string& drive);  // a hash of this machine's identifier
std::string GetSysDir();
std::string GetWinDir();
std::string GetWinVersion();   // fills gOsVersionInfo; the name from the table ("Unable To Get Windows Version" here)
int16_t GetWinVersionNum();

// The pure rules behind the functions above.
std::string WinVersionName(const OsVersionInfo& info);
int16_t WinVersionNumber(const std::string& name);
std::string MachineNumber(int32_t serial);                  // nine digits
std::string UserNameFrom(const std::string& raw);           // upper case, "ADMIN" when blank
std::string CompanyNameFrom(const std::string& raw);        // upper case, "NONE" when blank
int32_t SerialFromIdentifier(const std::string& identifier);  // stable 32-bit hash

}  // namespace ZVK_GetSystemInfos
