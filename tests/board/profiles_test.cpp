#include "board/Profiles.h"

#include <gtest/gtest.h>

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
  // "Standard" and the stored profiles listed, lists filled.
  static void StartWindow(HeadlessRecordWindow& w) {
    w.profiles.clear();
    w.texts["cmbProfiles"] = "Standard";
    add_profile("Standard", 0);
    const std::string stored = platform::GetSetting(kUser, "Settings", "ProfilesRegStr", "");
    for (size_t start = 0, bar = 0; bar != std::string::npos; start = bar + 1) {
      bar = stored.find('|', start);
      add_profile(stored.substr(start, bar - start), static_cast<int16_t>(w.ProfileCount()));
    }
    w.ranges = {{"cmbBoard", {-1, 3}}, {"lstMoveIncrementation", {-1, 5}}, {"HScrollAnimationSpeed", {1, 500}}};
  }

  static std::string Stored(const std::string& app, const char* key) {
    return platform::GetSetting(app, "Settings", key, "<absent>");
  }
};

TEST_F(ProfilesTest, FirstUseGivesEveryDefaultThenSaveAndLoadRoundTrip) {
  Load_Registry();
  EXPECT_EQ(std::tuple(window.ControlText("cmbProfiles"), window.backgroundColor, window.coordinateColor),
            std::tuple("Standard", 8388608, 14653807));
  const std::pair<const char*, int32_t> defaults[] = {
      {"cmbProfiles", 0},     {"chkEnableSound", 1},   {"chkEnableVoice", 0},         {"chkEnableIntroduction", 0},
      {"chkWinOnTop", 0},     {"chkMoveAnimation", 1}, {"HScrollAnimationSpeed", 100}, {"sldLevel", 1},
      {"cmbBoard", 1},        {"lstMoveIncrementation", 0}, {"ChkToolTip", 1},       {"optGender0", 0},
      {"optGender1", 0},      {"cmbCountry", 0},       {"mnuShowPossibleMoves", 0},  {"mnuDangerShow", -1}};
  for (const auto& [name, value] : defaults) {
    EXPECT_EQ(window.values.count(name), 1u) << name << " was never set";
    EXPECT_EQ(window.ControlValue(name), value) << name;
  }
  EXPECT_EQ(window.ControlText("txtUserNickName"), "JANE DOE");
  EXPECT_EQ(window.ControlText("txtAge"), "");
  Save2Registry();
  EXPECT_EQ(std::tuple(Stored(kUser, "ProfilesRegStr"), Stored(kUser + "\\Standard", "ProfilesRegStr"),
                       Stored(kUser, "cmbProfiles")),
            std::tuple("", "", "0"));

  // Blank names and exact repeats are not listed; another case is another name.
  for (const char* name : {"Anna", "  ", "Ben", "Anna", "Standard", "anna"}) {
    add_profile(name, static_cast<int16_t>(window.ProfileCount()));
  }
  window.SetControlValue("cmbProfiles", 2);
  window.backgroundColor = 0x123456;
  window.coordinateColor = 0xABCDEF;
  const std::pair<const char*, int32_t> values[] = {
      {"chkEnableSound", 0}, {"chkEnableVoice", 1},   {"chkEnableIntroduction", 1},     {"chkWinOnTop", 1},
      {"chkMoveAnimation", 0}, {"HScrollAnimationSpeed", 250}, {"cmbLanguage", 3}, {"sldLevel", 2},
      {"cmbBoard", 3},       {"lstMoveIncrementation", 4}, {"ChkToolTip", 0},          {"optGender0", 0},
      {"optGender1", -1},    {"cmbCountry", 77},      {"mnuShowPossibleMoves", -1},     {"mnuDangerShow", 0}};
  for (const auto& [name, value] : values) window.SetControlValue(name, value);
  window.SetControlText("txtUserNickName", "Jane, \"the rook\"");
  window.SetControlText("txtAge", "42");
  Save2Registry();
  EXPECT_EQ(std::tuple(Stored(kUser, "ProfilesRegStr"), Stored(kUser, "cmbProfiles")), std::tuple("|Anna|Ben|anna", "2"));
  const std::pair<const char*, const char*> texts[] = {
      {"ProfilesRegStr", "|Anna|Ben|anna"}, {"BackgroundColor", "1193046"}, {"BordCoordinateColor", "11259375"},
      {"optGender1", "-1"}, {"mnuShowPossibleMoves", "True"}, {"mnuDangerShow", "False"}, {"cmbLanguage", "3"}};
  for (const auto& [key, text] : texts) EXPECT_EQ(Stored(kUser + "\\Ben", key), text) << key;

  // The next start lists the profiles again and loads Ben's values.
  HeadlessRecordWindow next;
  SetRecordWindow(&next);
  StartWindow(next);
  EXPECT_EQ(next.profiles, (std::vector<std::string>{"Standard", "Anna", "Ben", "anna"}));
  Load_Registry();
  EXPECT_EQ(std::tuple(next.ControlText("cmbProfiles"), next.backgroundColor, next.coordinateColor),
            std::tuple("Ben", 0x123456, 0xABCDEF));
  for (const auto& [name, value] : values) {
    if (std::string(name) != "cmbLanguage") EXPECT_EQ(next.ControlValue(name), value) << name;  // read at creation
  }
  EXPECT_EQ(std::tuple(next.ControlText("txtUserNickName"), next.ControlText("txtAge")),
            std::tuple("Jane, \"the rook\"", "42"));
  EXPECT_EQ(ErrorLog(), "");
}

// Each bad value logs one entry and leaves its control; the keys after it still load.
TEST_F(ProfilesTest, BadStoredValuesLeaveTheirControlAndLaterKeysStillLoad) {
  struct Case { const char* key; const char* stored; int32_t before, after; };
  const Case cases[] = {
      {"chkEnableSound", "abc", 0, 0},  {"HScrollAnimationSpeed", "99999", 120, 120}, {"cmbBoard", "12", 2, 2},
      {"optGender0", "perhaps", -1, -1}, {"lstMoveIncrementation", "2", 0, 2},         {"mnuDangerShow", "fAlSe", -1, 0},
  };
  for (const auto& c : cases) {
    platform::SaveSetting(kUser + "\\Standard", "Settings", c.key, c.stored);
    window.values[c.key] = c.before;
  }
  platform::SaveSetting(kUser + "\\Standard", "Settings", "BackgroundColor", "blue");
  platform::SaveSetting(kUser, "Settings", "cmbProfiles", "5");  // no such profile
  window.backgroundColor = 77;
  Load_Registry();
  for (const auto& c : cases) EXPECT_EQ(window.ControlValue(c.key), c.after) << c.key;
  EXPECT_EQ(window.backgroundColor, 77);
  EXPECT_EQ(window.ControlText("cmbProfiles"), "Standard");
  const std::string log = ErrorLog();
  size_t entries = 0;
  for (size_t at = 0; (at = log.find("Load_Registry of Modul ZVK_Board_Sub", at)) != std::string::npos; ++at) ++entries;
  EXPECT_EQ(entries, 6u) << log;
}

}  // namespace
