#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Registry.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace ZVK_Registry;

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { ZVK_Identity::gUserName = "JANE DOE"; }
  testsupport::ProgramTree tree;
  std::string Log() { return testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()); }
};

TEST_F(Settings, PerUserLayoutOfJaneDoe) {
  EXPECT_EQ(UserSettingsApp(), "ZVK\\Castellan\\JANE DOE");
  EXPECT_EQ(ProfileSettingsApp("Standard"), "ZVK\\Castellan\\JANE DOE\\Standard");
  platform::SaveSetting(UserSettingsApp(), kSettingsSection, "cmbProfiles", "2");
  EXPECT_EQ(fs::path(platform::SettingsFilePath(UserSettingsApp())),
            fs::path(tree.root()) / "config/Castellan/ZVK/Castellan/JANE DOE.ini");
  EXPECT_TRUE(fs::exists(platform::SettingsFilePath(UserSettingsApp())));
  EXPECT_EQ(platform::GetSetting(UserSettingsApp(), kSettingsSection, "cmbProfiles", "0"), "2");
  EXPECT_EQ(platform::GetSetting(UserSettingsApp(), kSettingsSection, "Language", "english"), "english");
  const fs::path root = fs::weakly_canonical(fs::path(tree.root()) / "config/Castellan");
  for (const char* profile : {"..", "../../etc", "a/b"}) {  // names cannot leave the store
    const fs::path file = fs::weakly_canonical(platform::SettingsFilePath(ProfileSettingsApp(profile)));
    EXPECT_EQ(file.string().rfind(root.string(), 0), 0u) << profile;
  }
}

TEST_F(Settings, PerUserValuesRoundTripAsText) {
  const std::string app = ProfileSettingsApp("Club, Evening");
  const char* values[] = {
      "True", "-1", "|Standard|Bob, the 2nd", "  padded  ", "@Variant(trick)", "a=b;c\\d", "K\xC3\xB6nig", "",
  };
  int i = 0;
  for (const char* v : values) platform::SaveSetting(app, kSettingsSection, "k" + std::to_string(i++), v);
  i = 0;
  for (const char* v : values)
    EXPECT_EQ(platform::GetSetting(app, kSettingsSection, "k" + std::to_string(i++), "default"), v) << v;
  platform::DeleteSetting(app, kSettingsSection, "k0");
  EXPECT_EQ(platform::GetSetting(app, kSettingsSection, "k0", "default"), "default");
}

TEST_F(Settings, MachineValuesKeepTheirType) {
  const std::string app = UserSettingsApp();
  SaveRegSetting(app, "Settings", "UseCounter", 12);
  SaveRegSetting(app, "Settings", "Greeting", std::string("12"));
  // The comparison includes the type: a number is no text.
  EXPECT_EQ(GetRegSetting(app, "Settings", "UseCounter", RegValue(0)), RegValue(12));
  EXPECT_EQ(GetRegSetting(app, "Settings", "Greeting", RegValue(0)), RegValue("12"));
  EXPECT_EQ(ReadKey(MachinePath(app, "Settings", "UseCounter")), "12");
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0);
}

TEST_F(Settings, KeyExistsTrimsDeleteRemovesAndDirectReadsOfMissingValuesLog) {
  const std::string path = MachinePath(UserSettingsApp(), "Settings", "UseCounter");
  CreateNumericKey(path, 3);
  std::string padded = "  " + path + "  ";
  EXPECT_TRUE(RegKeyExists(padded));
  EXPECT_EQ(padded, path);
  DeleteKey(path);
  DeleteKey(path);  // gone already: nothing to do, nothing logged
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(7)), RegValue(7));
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0);
  EXPECT_EQ(ReadKey(path), "");
  EXPECT_TRUE(ReadKeyV(path).IsEmpty());
  EXPECT_NE(Log().find("ReadKey of Modul ZVK_Registry"), std::string::npos);
  EXPECT_NE(Log().find("ReadKeyV of Modul ZVK_Registry"), std::string::npos);
  EXPECT_NE(Log().find("\r\n" + path + "\r\n"), std::string::npos);  // the detail line
}

TEST_F(Settings, FailedWritesAreLoggedWithPathAndValue) {
  for (const std::string path : {"HKEY_NOWHERE\\Software\\x", "HKEY_LOCAL_MACHINE\\value-at-the-root"}) {
    CreateKey(path, "v1");
    EXPECT_NE(Log().find("CreateKey of Modul ZVK_Registry"), std::string::npos);
    EXPECT_NE(Log().find(ZVK_ErrorLog::JoinLogValues({path, "v1"})), std::string::npos) << "the detail line";
  }
  CreateNumericKey(MachinePath("a", "b", "c"), 1LL << 40);  // does not fit 32 bits
  EXPECT_NE(Log().find("CreateNumericKey of Modul ZVK_Registry  0  6  Overflow"), std::string::npos);
  EXPECT_FALSE(RegKeyExists(MachinePath("a", "b", "c")));
}

// A tree installed by another user: the shared store cannot be written (here
// a file stands where its folder belongs). The values then live in a copy of
// the user's own, silently, start after start.
TEST_F(Settings, UnwritableSharedStoreKeepsTheValuesPerUser) {
  fs::remove_all(tree.root() + "/machine");
  testsupport::WriteFile(tree.root() + "/machine", "x");
  for (int start = 1; start <= 3; ++start) {
    const int32_t n = GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)).AsLong() + 1;
    SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", n);
    EXPECT_EQ(n, start);
  }
  SaveRegSetting(UserSettingsApp(), "Settings", "Greeting", std::string("hello"));
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "Greeting", RegValue("")), RegValue("hello"));
  DeleteKey(MachinePath(UserSettingsApp(), "Settings", "Greeting"));
  EXPECT_FALSE(RegKeyExists(MachinePath(UserSettingsApp(), "Settings", "Greeting")));
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0) << Log();
  EXPECT_TRUE(fs::exists(tree.root() + "/config/Castellan/registry/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/"
                                       "JANE DOE/Settings.ini"));
  EXPECT_EQ(testsupport::ReadFile(tree.root() + "/machine"), "x");
}

// Until the user's copy holds a value, the shared one is read. (Folder
// permissions do not stop the superuser, so this part needs another user.)
TEST_F(Settings, SharedValuesAreReadUntilTheUserHasOwnCopies) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
  SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", 41);
  const fs::path key = tree.root() + "/machine/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/JANE DOE";
  fs::permissions(key / "Settings.ini", fs::perms::owner_read);
  fs::permissions(key, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)), RegValue(41));
  SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", 42);
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)), RegValue(42));
  fs::permissions(key, fs::perms::owner_all);
  fs::permissions(key / "Settings.ini", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0) << Log();
}

// Where neither the shared store nor the user's settings can be written, the
// failure is logged with the path and the counter stays as it was.
TEST_F(Settings, UnwritableStoresLeaveTheCounterUnchanged) {
  fs::remove_all(tree.root() + "/machine");
  testsupport::WriteFile(tree.root() + "/machine", "x");
  fs::remove_all(tree.root() + "/config");
  testsupport::WriteFile(tree.root() + "/config", "x");
  SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", 1);
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)), RegValue(0));
  EXPECT_NE(Log().find("CreateNumericKey of Modul ZVK_Registry  0  70  Permission denied"), std::string::npos);
  EXPECT_NE(Log().find("UseCounter"), std::string::npos);
}

}  // namespace
