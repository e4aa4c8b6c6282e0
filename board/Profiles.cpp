#include "board/Profiles.h"

#include <functional>

#include "board/RecordWindow.h"
#include "board/TextNumbers.h"
#include "platform/AppPath.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_Registry.h"

namespace ZVK_Board_Sub {
namespace {

using ZVK_Registry::UserSettingsApp;

const char* const kSection = ZVK_Registry::kSettingsSection;
const char* const kSavePlace = "Save2Registry of Modul ZVK_Board_Sub";
const char* const kLoadPlace = "Load_Registry of Modul ZVK_Board_Sub";

// Every step logs its own failure and the next step still runs.
bool Step(const char* place, const std::function<void()>& body) { return Guarded(place, body, false); }

// Puts one stored value into its control through `apply`. A value that
// cannot be converted, or that its control refuses, is logged and the key's
// default goes in instead: the next save then stores a value that the next
// start accepts, rather than carrying the damage (and its log entry) into
// every later start.
void LoadValue(const std::string& stored, const std::string& defaultValue,
               const std::function<void(const std::string&)>& apply) {
  if (Step(kLoadPlace, [&] { apply(stored); }) || stored == defaultValue) return;
  try {
    apply(defaultValue);
  } catch (...) {
    // A list too short even for the default keeps its choice.
  }
}

std::string BoolWord(bool value) { return value ? "True" : "False"; }

// The profile values that are a control's number, in the order they are
// written (the others are written between them, see Save2Registry).
struct NumberKey {
  const char* key;
  const char* defaultValue;
  bool wide;  // read as a 32-bit value; the others are 16-bit
};

// A profile's name becomes part of a settings file's name and of game file
// names; a stored list may have been edited by hand, so a name that cannot
// be a file name (a control character, a folder separator, "." or "..", or
// too long) is never listed. The length leaves room for the date prefix and
// extension of the game files named after a profile.
bool UsableProfileName(const std::string& name) {
  constexpr size_t kMaxNameBytes = 200;
  return name.size() <= kMaxNameBytes && platform::IsPlainFileName(name);
}

// The current profile is whatever the profile list's text names at the time.
std::string ProfileSettingsApp() {
  return ZVK_Registry::ProfileSettingsApp(TheRecordWindow().ControlText("cmbProfiles"));
}

}  // namespace

void Save2Registry() {
  RecordWindow& w = TheRecordWindow();
  Step(kSavePlace, [&] {
    std::string list;
    for (int i = 1; i < w.ProfileCount(); ++i) {
      list += '|';
      list += w.ProfileItem(i);
    }
    gProfilesRegStr = list;
  });
  const std::string user = UserSettingsApp();
  Step(kSavePlace, [&] { ZVK_Registry::SaveUserSetting(user, kSection, "ProfilesRegStr", gProfilesRegStr); });
  Step(kSavePlace, [&] {
    ZVK_Registry::SaveUserSetting(user, kSection, "cmbProfiles", std::to_string(w.ControlValue("cmbProfiles")));
  });

  const std::string profile = ProfileSettingsApp();
  auto save = [&](const char* key, const std::function<std::string()>& value) {
    Step(kSavePlace, [&] { ZVK_Registry::SaveUserSetting(profile, kSection, key, value()); });
  };
  auto number = [&](const char* control) { return [&w, control] { return std::to_string(w.ControlValue(control)); }; };
  save("BackgroundColor", [&] { return std::to_string(w.BackgroundColor()); });
  save("BordCoordinateColor", [&] { return std::to_string(w.BordCoordinateColor()); });
  for (const char* control : {"chkEnableSound", "chkEnableVoice", "chkEnableIntroduction", "chkWinOnTop",
                              "chkMoveAnimation", "HScrollAnimationSpeed", "cmbLanguage", "sldLevel", "cmbBoard",
                              "lstMoveIncrementation", "ChkToolTip"}) {
    save(control, number(control));
  }
  save("txtUserNickName", [&] { return w.ControlText("txtUserNickName"); });
  save("optGender0", [&] { return std::to_string(w.ControlValue("optGender0") != 0 ? -1 : 0); });
  save("optGender1", [&] { return std::to_string(w.ControlValue("optGender1") != 0 ? -1 : 0); });
  save("txtAge", [&] { return w.ControlText("txtAge"); });
  save("mnuShowPossibleMoves", [&] { return BoolWord(w.ControlValue("mnuShowPossibleMoves") != 0); });
  save("mnuDangerShow", [&] { return BoolWord(w.ControlValue("mnuDangerShow") != 0); });
  save("ProfilesRegStr", [&] { return gProfilesRegStr; });
  save("cmbCountry", number("cmbCountry"));
}

void Load_Registry() {
  RecordWindow& w = TheRecordWindow();
  LoadValue(platform::GetSetting(UserSettingsApp(), kSection, "cmbProfiles", "0"), "0",
            [&](const std::string& text) { w.SetControlValue("cmbProfiles", RoundToInt16(ParseNumber(text))); });
  Step(kLoadPlace, [&] { w.SetControlText("cmbProfiles", w.ProfileItem(w.ControlValue("cmbProfiles"))); });

  const std::string profile = ProfileSettingsApp();
  auto load = [&](const char* key, const std::string& defaultValue,
                  const std::function<void(const std::string&)>& apply) {
    LoadValue(platform::GetSetting(profile, kSection, key, defaultValue), defaultValue, apply);
  };
  load("BackgroundColor", "8388608",
       [&](const std::string& text) { w.ChangeBackgroundColor(RoundToInt32(ParseNumber(text))); });
  load("BordCoordinateColor", "14653807",
       [&](const std::string& text) { w.ChangeBordCoordinateColor(RoundToInt32(ParseNumber(text))); });
  const NumberKey numbers[] = {
      {"chkEnableSound", "1", false},       {"chkEnableVoice", "0", false},
      {"chkEnableIntroduction", "0", false}, {"chkWinOnTop", "0", false},
      {"chkMoveAnimation", "1", false},     {"HScrollAnimationSpeed", "100", false},
      {"sldLevel", "1", true},              {"cmbBoard", "1", false},
      {"lstMoveIncrementation", "0", false}, {"ChkToolTip", "1", false},
  };
  for (const auto& n : numbers) {
    load(n.key, n.defaultValue, [&](const std::string& text) {
      const double value = ParseNumber(text);
      w.SetControlValue(n.key, n.wide ? RoundToInt32(value) : RoundToInt16(value));
    });
  }
  load("txtUserNickName", ZVK_Identity::gUserName,
       [&](const std::string& text) { w.SetControlText("txtUserNickName", text); });
  for (const char* option : {"optGender0", "optGender1"}) {
    load(option, "0", [&](const std::string& text) { w.SetControlValue(option, ParseBoolean(text) ? -1 : 0); });
  }
  load("txtAge", "", [&](const std::string& text) { w.SetControlText("txtAge", text); });
  load("cmbCountry", "0",
       [&](const std::string& text) { w.SetControlValue("cmbCountry", RoundToInt16(ParseNumber(text))); });
  for (const auto& [menu, defaultValue] : {std::pair("mnuShowPossibleMoves", "False"), std::pair("mnuDangerShow", "True")}) {
    load(menu, defaultValue, [&, menu = menu](const std::string& text) { w.SetControlValue(menu, ParseBoolean(text) ? -1 : 0); });
  }
}

void add_profile(const std::string& name, int16_t lastIndex) {
  Step("add_profile of Modul ZVK_Board_Sub", [&] {
    if (name.find_first_not_of(' ') == std::string::npos) return;
    if (!UsableProfileName(name)) {
      throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Profile name is not a file name");
    }
    RecordWindow& w = TheRecordWindow();
    const int last = std::min<int>(lastIndex, w.ProfileCount() - 1);
    for (int i = 0; i <= last; ++i) {
      if (w.ProfileItem(i) == name) return;
    }
    w.AddProfileItem(name);
  });
}

std::vector<std::string> ListStoredProfiles(const char* place) {
  RecordWindow& w = TheRecordWindow();
  Step(place, [&] { add_profile("Standard", static_cast<int16_t>(w.ProfileCount())); });
  Step(place, [&] {
    gProfilesRegStr = platform::GetSetting(ProfileSettingsApp(), kSection, "ProfilesRegStr", "");
  });
  std::vector<std::string> names;
  for (size_t start = 0, bar = 0; bar != std::string::npos; start = bar + 1) {
    bar = gProfilesRegStr.find('|', start);
    names.push_back(gProfilesRegStr.substr(start, bar - start));
  }
  for (const std::string& name : names)
    Step(place, [&] { add_profile(name, static_cast<int16_t>(w.ProfileCount())); });
  return names;
}

}  // namespace ZVK_Board_Sub
