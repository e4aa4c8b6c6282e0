#include <gtest/gtest.h>

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

TEST_F(Settings, UnwritableStoreLeavesTheCounterUnchanged) {
  // A file where the user's key folder belongs: the store cannot be written.
  testsupport::WriteFile(tree.root() + "/machine/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/JANE DOE", "x");
  SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", 1);
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)), RegValue(0));
  EXPECT_NE(Log().find("CreateNumericKey of Modul ZVK_Registry  0  70  Permission denied"), std::string::npos);
  EXPECT_NE(Log().find("UseCounter"), std::string::npos);
}

}  // namespace
