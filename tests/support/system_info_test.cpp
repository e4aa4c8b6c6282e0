#include <gtest/gtest.h>

#include "support/AppIdentity.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_GetSystemInfos.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_GetSystemInfos;

namespace {

TEST(VersionName, EveryRowOfTheTable) {
  struct Case { int32_t platform, major, minor, build; const char* name; int16_t number; };
  const Case cases[] = {
      {0, 3, 10, 0, "Windows 32s", 9},         {1, 4, 0, 950, "Windows 95", 0},
      {1, 4, 0, 951, "Windows 95 SP1", 10},    {1, 4, 0, 1111, "Windows 95 OSR2", 11},
      {1, 4, 10, 1998, "Windows 98", 12},      {1, 4, 10, 1999, "Windows 98 SP1", 13},
      {1, 4, 10, 2182, "Windows 98 SP1", 13},  {1, 4, 10, 2183, "Windows 98 SE", 14},
      {1, 4, 10, 1997, "", 0},                 {1, 4, 90, 3000, "Windows ME", 15},
      {2, 3, 51, 1057, "Windows NT 3.51", 20}, {2, 4, 0, 1381, "Windows NT 4.0", 21},
      {2, 5, 0, 2195, "Windows 2000", 22},     {2, 5, 1, 2600, "Windows XP", 23},
      {2, 5, 2, 3790, "Windows 2003", 24},     {2, 5, 3, 0, "unknown", 0},
      {2, 6, 0, 6000, "", 0},  /* a later Windows */ {3, 1, 0, 0, "Windows CE 1.0", 1},
      {3, 2, 0, 0, "Windows CE 2.0", 2},       {3, 2, 11, 0, "Windows CE 2.1", 3},
      {3, 4, 0, 0, "Windows CE 3.0", 4},       {4, 6, 1, 0, "Unable To Get Windows Version", 0},
  };
  for (const auto& c : cases) {
    OsVersionInfo info;
    info.dwPlatformId = c.platform;
    info.dwMajorVersion = c.major;
    info.dwMinorVersion = c.minor;
    info.dwBuildNumber = c.build;
    const std::string name = WinVersionName(info);
    EXPECT_EQ(name, c.name) << c.platform << " " << c.major << "." << c.minor << " " << c.build;
    EXPECT_EQ(WinVersionNumber(name), c.number) << name;
  }
}

TEST(Identity, NamesAreCleanedAndDefaultedAndMachineNumbersHaveNineDigits) {
  const std::tuple<std::string, const char*, const char*> names[] = {  // raw, user, company
      {"jane doe", "JANE DOE", "JANE DOE"},
      {std::string("  jd\0\0", 6), "JD", "JD"},
      {"   ", "ADMIN", "NONE"},
      {"Unable to open HKEY_LOCAL_MACHINE\\x", "UNABLE TO OPEN HKEY_LOCAL_MACHINE\\X", "NONE"},
  };
  for (const auto& [raw, user, company] : names) {
    EXPECT_EQ(UserNameFrom(raw), user);
    EXPECT_EQ(CompanyNameFrom(raw), company);
  }
  const std::pair<int32_t, const char*> serials[] = {
      {123456, "000123456"}, {-5, "000000005"}, {INT32_MAX, "147483647"}, {INT32_MIN, "147483648"}};
  for (const auto& [serial, number] : serials) EXPECT_EQ(MachineNumber(serial), number) << serial;
  EXPECT_NE(SerialFromIdentifier("a"), SerialFromIdentifier("b"));
}

TEST(Identity, GatheredOnThisMachine) {
  testsupport::ProgramTree tree;
  setenv("ORGANIZATION", "  chess club  ", 1);
  GetPCInfos();
  unsetenv("ORGANIZATION");
  EXPECT_EQ(ZVK_Identity::gCompanyName, "CHESS CLUB");
  const std::string id = ZVK_Identity::gMachineID;
  ASSERT_EQ(id.size(), 9u);
  EXPECT_EQ(id.find_first_not_of("0123456789"), std::string::npos);
  GetPCInfos();
  EXPECT_EQ(ZVK_Identity::gMachineID, id) << "stable from run to run";
  EXPECT_EQ(ZVK_Identity::gCompanyName, "NONE");  // nothing stored anywhere
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0) << "a machine without an organisation is no error";
  EXPECT_LT(GetUser().size(), 25u);
}

TEST(Identity, OwnMachineNumberOverridesTheDerivedOne) {
  testsupport::ProgramTree tree;
  unsetenv(kMachineIdVariable);
  GetPCInfos();
  const std::string derived = ZVK_Identity::gMachineID;
  const std::string own = derived == "000000042" ? "000000043" : "000000042";
  // What, the environment (nullptr: unset), the file, the number taken, entries logged for malformed values.
  const std::tuple<const char*, const char*, std::string, std::string, long long> cases[] = {
      {"nothing set", nullptr, "", derived, 0},
      {"file after a comment", nullptr, "# second copy\n\n  " + own + "  \n", own, 0},
      {"environment wins over the file", own.c_str(), "123456789\n", own, 0},
      {"path in the file", nullptr, "../000000001\n", derived, 1},
      {"ten digits in the environment, file used", "0000000001", own + "\n", own, 1},
      {"letters in both", "00000000x", "abcdefghi\n", derived, 2},
  };
  for (const auto& [what, environment, file, expected, errors] : cases) {
    if (environment != nullptr) setenv(kMachineIdVariable, environment, 1);
    else unsetenv(kMachineIdVariable);
    testsupport::WriteFile(MachineIdFilePath(), file);
    const long long before = ZVK_ErrorLog::ErrorsLogged();
    GetPCInfos();
    EXPECT_EQ(ZVK_Identity::gMachineID, expected) << what;
    EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - before, errors) << what;
  }
  unsetenv(kMachineIdVariable);
  EXPECT_EQ(MachineIdFilePath(), tree.commonDir() + "/MachineId.txt");
}

}  // namespace
