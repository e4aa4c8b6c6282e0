#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_Registry.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace ZVK_Registry;

namespace {

// While it lives, a superuser acts as an ordinary user (nobody's number)
// who owns the given tree, so that permissions hold for him; an ordinary
// user stays who he is.
struct AsOrdinaryUser {
  explicit AsOrdinaryUser(const std::string& tree) {
    if (geteuid() != 0) return;
    constexpr uid_t kNobody = 65534;
    ok = ::chown(tree.c_str(), kNobody, kNobody) == 0;
    for (const auto& entry : fs::recursive_directory_iterator(tree))
      ok = ok && ::lchown(entry.path().c_str(), kNobody, kNobody) == 0;
    // Real and effective ids both (the store asks access(), which looks at
    // the real one); the saved ids stay root's, so that the way back is open.
    ok = ok && setresgid(kNobody, kNobody, -1) == 0;
    switched = ok && setresuid(kNobody, kNobody, -1) == 0;
    ok = switched;
  }
  ~AsOrdinaryUser() {
    if (switched && setresuid(0, 0, -1) != 0) std::abort();
    if (geteuid() == 0 && setresgid(0, 0, -1) != 0) std::abort();
  }
  AsOrdinaryUser(const AsOrdinaryUser&) = delete;
  AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;
  bool switched = false;
  bool ok = true;
};

class Settings : public ::testing::Test {
 protected:
  void SetUp() override { ZVK_Identity::gUserName = "JANE DOE"; }
  testsupport::ProgramTree tree;
  std::string Log() { return testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath()); }
  // A file where the store's folder belongs: it cannot be written.
  void Block(const std::string& folder) {
    fs::remove_all(tree.root() + folder);
    testsupport::WriteFile(tree.root() + folder, "x");
  }
};

TEST_F(Settings, PerUserValuesRoundTripAsTextInTheUsersOwnFile) {
  platform::SaveSetting(UserSettingsApp(), kSettingsSection, "cmbProfiles", "2");
  EXPECT_TRUE(fs::exists(fs::path(tree.root()) / "config/Castellan/ZVK/Castellan/JANE DOE.ini"));
  const fs::path root = fs::weakly_canonical(fs::path(tree.root()) / "config/Castellan");
  for (const char* profile : {"..", "../../etc", "a/b"}) {  // names cannot leave the store
    const fs::path file = fs::weakly_canonical(platform::SettingsFilePath(ProfileSettingsApp(profile)));
    EXPECT_EQ(file.string().rfind(root.string(), 0), 0u) << profile;
  }
  const std::string app = ProfileSettingsApp("Club, Evening");
  const std::string values[] = {"|Standard|Bob, the 2nd", "  padded  ", "@Variant(trick)", "a=b;c\\d", "K\xC3\xB6nig", ""};
  for (int i = 0; i < 6; ++i) platform::SaveSetting(app, kSettingsSection, "k" + std::to_string(i), values[i]);
  for (int i = 0; i < 6; ++i)
    EXPECT_EQ(platform::GetSetting(app, kSettingsSection, "k" + std::to_string(i), "default"), values[i]);
  platform::DeleteSetting(app, kSettingsSection, "k0");
  EXPECT_EQ(platform::GetSetting(app, kSettingsSection, "k0", "default"), "default");
  // A line the reader cannot parse is no reason to call the write failed.
  const std::string damaged = ProfileSettingsApp("Damaged");
  testsupport::WriteFile(platform::SettingsFilePath(damaged), "[Settings\nk=1\n");
  EXPECT_TRUE(platform::SaveSetting(damaged, kSettingsSection, "k", "2"));
  EXPECT_EQ(platform::GetSetting(damaged, kSettingsSection, "k"), "2");
}

TEST_F(Settings, MachineValuesKeepTheirTypeAndDirectReadsOfMissingValuesLog) {
  const std::string app = UserSettingsApp(), path = MachinePath(app, "Settings", "UseCounter");
  SaveRegSetting(app, "Settings", "UseCounter", 12);
  SaveRegSetting(app, "Settings", "Greeting", std::string("12"));
  // The comparison includes the type: a number is no text.
  EXPECT_EQ(GetRegSetting(app, "Settings", "UseCounter", RegValue(0)), RegValue(12));
  EXPECT_EQ(GetRegSetting(app, "Settings", "Greeting", RegValue(0)), RegValue("12"));
  DeleteKey(path);
  DeleteKey(path);  // gone already: nothing to do, nothing logged
  EXPECT_EQ(GetRegSetting(app, "Settings", "UseCounter", RegValue(7)), RegValue(7));
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0);
  EXPECT_TRUE(ReadKeyV(path).IsEmpty());
  EXPECT_NE(Log().find("\r\n" + path + "\r\n"), std::string::npos);  // logged with its path
  // A number that does not fit 32 bits is refused, not stored cut.
  CreateNumericKey(MachinePath("a", "b", "c"), 1LL << 40);
  EXPECT_FALSE(RegKeyExists(MachinePath("a", "b", "c")));
}

// A tree installed by another user: the shared store cannot be written. The
// values then live in a copy of the user's own, silently, start after start.
TEST_F(Settings, UnwritableSharedStoreKeepsTheValuesPerUser) {
  Block("/machine");
  for (int start = 1; start <= 3; ++start) {
    const int32_t n = GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)).AsLong() + 1;
    SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", n);
    EXPECT_EQ(n, start);
  }
  DeleteKey(MachinePath(UserSettingsApp(), "Settings", "UseCounter"));
  EXPECT_FALSE(RegKeyExists(MachinePath(UserSettingsApp(), "Settings", "UseCounter")));
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0) << Log();
}

// Until the user's copy holds a value, the shared one is read. Folder
// permissions do not stop the superuser (and CI runs as root): there the
// test hands its tree to an ordinary user and acts as that user.
TEST_F(Settings, SharedValuesAreReadUntilTheUserHasOwnCopies) {
  SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", 41);
  AsOrdinaryUser user(tree.root());
  ASSERT_TRUE(user.ok) << "cannot act as an ordinary user";
  const fs::path key = tree.root() + "/machine/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/JANE DOE";
  fs::permissions(key / "Settings.ini", fs::perms::owner_read);
  fs::permissions(key, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)), RegValue(41));
  SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", 42);
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)), RegValue(42));
  EXPECT_TRUE(fs::exists(tree.root() + "/config/Castellan/registry/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/JANE DOE/Settings.ini"));
  fs::permissions(key, fs::perms::owner_all);
  fs::permissions(key / "Settings.ini", fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged(), 0) << Log();
}

// Where neither the shared store nor the user's settings can be written, the
// failure is logged with the path and the counter stays as it was.
TEST_F(Settings, UnwritableStoresLeaveTheCounterUnchanged) {
  Block("/machine");
  Block("/config");
  SaveRegSetting(UserSettingsApp(), "Settings", "UseCounter", 1);
  EXPECT_EQ(GetRegSetting(UserSettingsApp(), "Settings", "UseCounter", RegValue(0)), RegValue(0));
  EXPECT_NE(Log().find("CreateNumericKey of Modul ZVK_Registry  0  70  Permission denied"), std::string::npos);
}

}  // namespace
