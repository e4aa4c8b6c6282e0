#include "board/Profiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;

namespace {

const std::string kUser = "ZVK\\Castellan\\JANE DOE";

class ProfilesTest : public recordtest::RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    ZVK_Identity::gUserName = "JANE DOE";
    gProfilesRegStr.clear();
    StartWindow(window);
  }

  // The window as its creation leaves it before the settings are loaded:
  // the profiles listed as the creation lists them, lists filled.
  static void StartWindow(HeadlessRecordWindow& w) {
    w.profiles.clear();
    w.texts["cmbProfiles"] = "Standard";
    ListStoredProfiles("Form_Initialize of Formular fMainForm");
    w.ranges = {{"cmbBoard", {-1, 3}}, {"lstMoveIncrementation", {-1, 5}}, {"HScrollAnimationSpeed", {1, 500}}};
  }

  // The next start of the program, with the settings this one left.
  HeadlessRecordWindow& Restart() {
    SetRecordWindow(&next);
    StartWindow(next);
    return next;
  }

  static std::string Stored(const std::string& app, const char* key) {
    return platform::GetSetting(app, "Settings", key, "<absent>");
  }

  HeadlessRecordWindow next;
};

TEST_F(ProfilesTest, FirstUseGivesEveryDefaultThenSaveAndLoadRoundTrip) {
  Load_Registry();
  EXPECT_EQ(std::tuple(window.ControlText("cmbProfiles"), window.backgroundColor, window.coordinateColor),
            std::tuple("Standard", 8388608, 14653807));
  // Every number control: its value on first use, then the value this test gives it.
  struct Control { const char* name; int32_t first, given; };
  const Control controls[] = {
      {"chkEnableSound", 1, 0},   {"chkEnableVoice", 0, 1}, {"chkEnableIntroduction", 0, 1}, {"chkWinOnTop", 0, 1},
      {"chkMoveAnimation", 1, 0}, {"HScrollAnimationSpeed", 100, 250}, {"sldLevel", 1, 2},  {"cmbBoard", 1, 3},
      {"lstMoveIncrementation", 0, 4}, {"ChkToolTip", 1, 0}, {"optGender0", 0, 0},          {"optGender1", 0, -1},
      {"cmbCountry", 0, 77},      {"mnuShowPossibleMoves", 0, -1}, {"mnuDangerShow", -1, 0}};
  for (const auto& c : controls) EXPECT_EQ(window.ControlValue(c.name), c.first) << c.name;
  EXPECT_EQ(std::tuple(window.ControlText("txtUserNickName"), window.ControlText("txtAge")), std::tuple("JANE DOE", ""));

  // Blank names and exact repeats are not listed; another case is another name.
  for (const char* name : {"Anna", "  ", "Ben", "Anna", "Standard", "anna"})
    add_profile(name, static_cast<int16_t>(window.ProfileCount()));
  Save2Registry();  // under "Standard", where the next start reads the list
  window.SetControlValue("cmbProfiles", 2);
  window.backgroundColor = 0x123456;
  window.coordinateColor = 0xABCDEF;
  for (const auto& c : controls) window.SetControlValue(c.name, c.given);
  window.SetControlValue("cmbLanguage", 3);  // read by the window's creation, only saved here
  window.SetControlText("txtUserNickName", "Jane, \"the rook\"");
  window.SetControlText("txtAge", "42");
  Save2Registry();
  EXPECT_EQ(Stored(kUser, "cmbProfiles"), "2");
  for (const auto& [key, text] : {std::pair{"ProfilesRegStr", "|Anna|Ben|anna"}, {"BackgroundColor", "1193046"},
                                  {"mnuShowPossibleMoves", "True"}, {"mnuDangerShow", "False"}, {"cmbLanguage", "3"}})
    EXPECT_EQ(Stored(kUser + "\\Ben", key), text) << key;

  // The next start lists the profiles again and loads Ben's values.
  HeadlessRecordWindow& next = Restart();
  EXPECT_EQ(next.profiles, (std::vector<std::string>{"Standard", "Anna", "Ben", "anna"}));
  Load_Registry();
  EXPECT_EQ(std::tuple(next.ControlText("cmbProfiles"), next.backgroundColor, next.coordinateColor,
                       next.ControlText("txtUserNickName"), next.ControlText("txtAge")),
            std::tuple("Ben", 0x123456, 0xABCDEF, "Jane, \"the rook\"", "42"));
  for (const auto& c : controls) EXPECT_EQ(next.ControlValue(c.name), c.given) << c.name;
  EXPECT_EQ(ErrorLog(), "");
}

// A damaged value logs one entry and its control takes the key's default; the
// keys after it still load, and after the next save nothing is logged again.
TEST_F(ProfilesTest, DamagedValuesFallBackToTheirDefaultsOnceAndAreThenStoredSound) {
  struct Case { const char* key; const char* stored; int32_t before, after; };
  const Case cases[] = {
      {"chkEnableSound", "abc", 0, 1},           {"chkWinOnTop", "", 1, 0},
      {"HScrollAnimationSpeed", "99999", 120, 100}, {"cmbBoard", "12", 2, 1},
      {"optGender0", "perhaps", -1, 0},          {"mnuDangerShow", "maybe", 0, -1},
      {"lstMoveIncrementation", "2", 0, 2},      {"mnuShowPossibleMoves", "tRuE", 0, -1},  // sound values load
  };
  for (const auto& c : cases) {
    platform::SaveSetting(kUser + "\\Standard", "Settings", c.key, c.stored);
    window.values[c.key] = c.before;
  }
  platform::SaveSetting(kUser + "\\Standard", "Settings", "BackgroundColor", "blue");
  platform::SaveSetting(kUser, "Settings", "cmbProfiles", "5");  // no such profile
  window.backgroundColor = 77;
  long long logged = ZVK_ErrorLog::ErrorsLogged();
  Load_Registry();
  for (const auto& c : cases) EXPECT_EQ(window.ControlValue(c.key), c.after) << c.key;
  EXPECT_EQ(std::tuple(window.backgroundColor, window.ControlText("cmbProfiles")), std::tuple(8388608, "Standard"));
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - logged, 8) << ErrorLog();

  Save2Registry();
  HeadlessRecordWindow& next = Restart();
  logged = ZVK_ErrorLog::ErrorsLogged();
  Load_Registry();
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - logged, 0) << ErrorLog();
  for (const auto& c : cases) EXPECT_EQ(next.ControlValue(c.key), c.after) << c.key;
}

// A settings folder that cannot be written: every value not saved is logged.
TEST_F(ProfilesTest, ValuesThatCannotBeSavedAreLogged) {
  std::filesystem::remove_all(tree.path("config"));
  testsupport::WriteFile(tree.path("config"), "a file where the settings folder belongs");
  const long long logged = ZVK_ErrorLog::ErrorsLogged();
  Save2Registry();
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - logged, 23);  // two user-level values, 21 of the profile
  EXPECT_NE(ErrorLog().find("Save2Registry of Modul ZVK_Board_Sub  0  70  Permission denied"), std::string::npos)
      << ErrorLog();
  EXPECT_EQ(testsupport::ReadFile(tree.path("config")), "a file where the settings folder belongs");
}

// A hand-edited list: names that cannot be file names are logged and never
// listed, so none of them reaches a settings path; the good ones still are.
TEST_F(ProfilesTest, StoredNamesThatCannotBeFileNamesAreRefused) {
  const std::string bad[] = {std::string("A\0B", 3), "tab\there", "a/b", "back\\slash", ".", "..",
                             std::string(201, 'n'), "del\x7F"};
  std::string stored = "|Anna";
  for (const auto& name : bad) stored += "|" + name;
  platform::SaveSetting(kUser + "\\Standard", "Settings", "ProfilesRegStr", stored + "|Ben|" + std::string(200, 'n'));
  platform::SaveSetting(kUser, "Settings", "cmbProfiles", "2");
  const long long logged = ZVK_ErrorLog::ErrorsLogged();
  StartWindow(window);
  EXPECT_EQ(window.profiles, (std::vector<std::string>{"Standard", "Anna", "Ben", std::string(200, 'n')}));
  EXPECT_EQ(ZVK_ErrorLog::ErrorsLogged() - logged, std::size(bad)) << ErrorLog();

  Load_Registry();
  EXPECT_EQ(window.ControlText("cmbProfiles"), "Ben");
  Save2Registry();
  EXPECT_EQ(Stored(kUser + "\\Ben", "ProfilesRegStr"), "|Anna|Ben|" + std::string(200, 'n'));
}

}  // namespace
