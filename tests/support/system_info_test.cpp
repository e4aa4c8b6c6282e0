#include <gtest/gtest.h>

#include "support/AppIdentity.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_GetSystemInfos.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_GetSystemInfos;

namespace {

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
}

}  // namespace
