#include "board/Profiles.h"

#include <gtest/gtest.h>

#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ZVK_Registry.h"
#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;

namespace {

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
    const std::string stored = platform::GetSetting(ZVK_Registry::UserSettingsApp(), "Settings", "ProfilesRegStr", "");
    size_t start = 0;
    for (;;) {
      const size_t bar = stored.find('|', start);
      add_profile(stored.substr(start, bar - start), static_cast<int16_t>(w.ProfileCount()));
      if (bar == std::string::npos) break;
      start = bar + 1;
    }
    w.ranges["cmbBoard"] = {-1, 3};
    w.ranges["lstMoveIncrementation"] = {-1, 5};
    w.ranges["cmbCountry"] = {-1, 200};
    w.ranges["HScrollAnimationSpeed"] = {1, 500};
  }

  std::string Stored(const std::string& app, const char* key) {
    return platform::GetSetting(app, "Settings", key, "<absent>");
  }
};

TEST_F(ProfilesTest, FirstUseSelectsStandardWithEveryDefault) {
  Load_Registry();
  EXPECT_EQ(window.ControlValue("cmbProfiles"), 0);
  EXPECT_EQ(window.ControlText("cmbProfiles"), "Standard");
  EXPECT_EQ(window.backgroundColor, 8388608);
  EXPECT_EQ(window.coordinateColor, 14653807);
  const std::pair<const char*, int32_t> defaults[] = {
      {"chkEnableSound", 1},   {"chkEnableVoice", 0},      {"chkEnableIntroduction", 0},
      {"chkWinOnTop", 0},      {"chkMoveAnimation", 1},    {"HScrollAnimationSpeed", 100},
      {"sldLevel", 1},         {"cmbBoard", 1},            {"lstMoveIncrementation", 0},
      {"ChkToolTip", 1},       {"optGender0", 0},          {"optGender1", 0},
      {"cmbCountry", 0},       {"mnuShowPossibleMoves", 0}, {"mnuDangerShow", -1}};
  for (const auto& [name, value] : defaults) {
    EXPECT_EQ(window.ControlValue(name), value) << name;
    EXPECT_EQ(window.values.count(name), 1u) << name << " was never set";
  }
  EXPECT_EQ(window.ControlText("txtUserNickName"), "JANE DOE");
  EXPECT_EQ(window.ControlText("txtAge"), "");
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProfilesTest, SaveAndLoadRoundTripThroughTheStore) {
  add_profile("Anna", static_cast<int16_t>(window.ProfileCount()));
  add_profile("Ben", static_cast<int16_t>(window.ProfileCount()));
  window.SetControlValue("cmbProfiles", 2);
  window.backgroundColor = 0x123456;
  window.coordinateColor = 0xABCDEF;
  const std::pair<const char*, int32_t> values[] = {
      {"chkEnableSound", 0},   {"chkEnableVoice", 1},        {"chkEnableIntroduction", 1},
      {"chkWinOnTop", 1},      {"chkMoveAnimation", 0},      {"HScrollAnimationSpeed", 250},
      {"cmbLanguage", 3},      {"sldLevel", 2},              {"cmbBoard", 3},
      {"lstMoveIncrementation", 4}, {"ChkToolTip", 0},       {"optGender0", 0},
      {"optGender1", -1},      {"cmbCountry", 77},           {"mnuShowPossibleMoves", -1},
      {"mnuDangerShow", 0}};
  for (const auto& [name, value] : values) window.SetControlValue(name, value);
  window.SetControlText("txtUserNickName", "Jane, \"the rook\"");
  window.SetControlText("txtAge", "42");
  Save2Registry();

  // The stored text forms.
  const std::string user = "ZVK\\Castellan\\JANE DOE";
  const std::string profile = user + "\\Ben";
  EXPECT_EQ(Stored(user, "ProfilesRegStr"), "|Anna|Ben");
  EXPECT_EQ(Stored(user, "cmbProfiles"), "2");
  const std::pair<const char*, const char*> texts[] = {
      {"ProfilesRegStr", "|Anna|Ben"}, {"BackgroundColor", "1193046"}, {"BordCoordinateColor", "11259375"},
      {"optGender0", "0"},             {"optGender1", "-1"},           {"mnuShowPossibleMoves", "True"},
      {"mnuDangerShow", "False"},      {"sldLevel", "2"},              {"chkMoveAnimation", "0"},
      {"cmbLanguage", "3"},            {"txtAge", "42"}};
  for (const auto& [key, text] : texts) EXPECT_EQ(Stored(profile, key), text) << key;

  // The next start lists the profiles again and loads Ben's values.
  HeadlessRecordWindow next;
  SetRecordWindow(&next);
  StartWindow(next);
  EXPECT_EQ(next.profiles, (std::vector<std::string>{"Standard", "Anna", "Ben"}));
  Load_Registry();
  EXPECT_EQ(next.ControlText("cmbProfiles"), "Ben");
  EXPECT_EQ(next.backgroundColor, 0x123456);
  EXPECT_EQ(next.coordinateColor, 0xABCDEF);
  for (const auto& [name, value] : values) {
    if (std::string(name) == "cmbLanguage") continue;  // read by the window's creation, not here
    EXPECT_EQ(next.ControlValue(name), value) << name;
  }
  EXPECT_EQ(next.ControlText("txtUserNickName"), "Jane, \"the rook\"");
  EXPECT_EQ(next.ControlText("txtAge"), "42");
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProfilesTest, OnlyStandardStoresAnEmptyListAtBothLevels) {
  Save2Registry();
  EXPECT_EQ(Stored("ZVK\\Castellan\\JANE DOE", "ProfilesRegStr"), "");
  EXPECT_EQ(Stored("ZVK\\Castellan\\JANE DOE\\Standard", "ProfilesRegStr"), "");
  EXPECT_EQ(Stored("ZVK\\Castellan\\JANE DOE", "cmbProfiles"), "0");
}

TEST_F(ProfilesTest, BadStoredValuesLeaveTheirControlAndLaterKeysStillLoad) {
  const std::string profile = "ZVK\\Castellan\\JANE DOE\\Standard";
  const std::pair<const char*, const char*> stored[] = {
      {"BackgroundColor", "blue"},         // not a number
      {"chkEnableSound", "abc"},           // not a number
      {"HScrollAnimationSpeed", "99999"},  // beyond 16 bits
      {"cmbBoard", "12"},                  // beyond the list
      {"optGender0", "perhaps"},           // not a Boolean
      {"chkEnableVoice", "1"},             // good values around them still load
      {"lstMoveIncrementation", "2"},
      {"mnuDangerShow", "fAlSe"},
      {"optGender1", "7"},
  };
  for (const auto& [key, text] : stored) platform::SaveSetting(profile, "Settings", key, text);
  platform::SaveSetting("ZVK\\Castellan\\JANE DOE", "Settings", "cmbProfiles", "5");  // no such profile
  window.backgroundColor = 77;
  window.values["chkEnableSound"] = 0;
  window.values["HScrollAnimationSpeed"] = 120;
  window.values["cmbBoard"] = 2;
  window.values["optGender0"] = -1;
  Load_Registry();
  EXPECT_EQ(window.backgroundColor, 77);
  EXPECT_EQ(window.ControlValue("chkEnableSound"), 0);
  EXPECT_EQ(window.ControlValue("HScrollAnimationSpeed"), 120);
  EXPECT_EQ(window.ControlValue("cmbBoard"), 2);
  EXPECT_EQ(window.ControlValue("optGender0"), -1);
  EXPECT_EQ(window.ControlValue("chkEnableVoice"), 1);
  EXPECT_EQ(window.ControlValue("lstMoveIncrementation"), 2);
  EXPECT_EQ(window.ControlValue("mnuDangerShow"), 0);
  EXPECT_EQ(window.ControlValue("optGender1"), -1);
  EXPECT_EQ(window.ControlText("cmbProfiles"), "Standard");  // the stored index failed, the profile stays
  const std::string log = ErrorLog();
  size_t entries = 0;
  for (size_t at = log.find("Load_Registry of Modul ZVK_Board_Sub"); at != std::string::npos;
       at = log.find("Load_Registry of Modul ZVK_Board_Sub", at + 1)) {
    ++entries;
  }
  EXPECT_EQ(entries, 6u) << log;
}

TEST_F(ProfilesTest, AddProfileSkipsBlanksAndExactDuplicates) {
  struct Case {
    const char* name;
    bool added;
  };
  const Case cases[] = {{"", false},     {"   ", false},    {"Anna", true},   {"Anna", false},
                        {"anna", true},  {"Standard", false}, {" Anna", true}, {"Ben", true}};
  std::vector<std::string> expected = {"Standard"};
  for (const auto& c : cases) {
    add_profile(c.name, static_cast<int16_t>(window.ProfileCount()));
    if (c.added) expected.push_back(c.name);
    EXPECT_EQ(window.profiles, expected) << "'" << c.name << "'";
  }
  // Only the entries up to the given number are compared.
  add_profile("Ben", 2);
  EXPECT_EQ(window.profiles.back(), "Ben");
  EXPECT_EQ(window.profiles.size(), expected.size() + 1);
}

}  // namespace
