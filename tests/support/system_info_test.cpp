#include <gtest/gtest.h>

#include "support/AppIdentity.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_GetSystemInfos.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_GetSystemInfos;

namespace {

TEST(Identity, NamesAreCleanedAndDefaultedAndMachineNumbersHaveNineDigits) {
  const std::tuple<std::string, const char*, const char*> names[] = {  // raw, user, company
      {std::string("  jane doe\0\0", 12), "JANE DOE", "JANE DOE"},
      {"   ", "ADMIN", "NONE"},
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
