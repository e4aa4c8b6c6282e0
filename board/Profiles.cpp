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
void Step(const char* place, const std::function<void()>& body) { Guarded(place, body, false); }

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
    for (int i = 1; i < w.ProfileCount(); ++i) list += "|" + w.ProfileItem(i);
    gProfilesRegStr = list;
  });
  const std::string user = UserSettingsApp();
  Step(kSavePlace, [&] { platform::SaveSetting(user, kSection, "ProfilesRegStr", gProfilesRegStr); });
  Step(kSavePlace, [&] {
    platform::SaveSetting(user, kSection, "cmbProfiles", std::to_string(w.ControlValue("cmbProfiles")));
  });

  const std::string profile = ProfileSettingsApp();
  auto save = [&](const char* key, const std::function<std::string()>& value) {
    Step(kSavePlace, [&] { platform::SaveSetting(profile, kSection, key, value()); });
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
  Step(kLoadPlace, [&] {
    const std::string stored = platform::GetSetting(UserSettingsApp(), kSection, "cmbProfiles", "0");
    w.SetControlValue("cmbProfiles", RoundToInt16(ParseNumber(stored)));
  });
  Step(kLoadPlace, [&] { w.SetControlText("cmbProfiles", w.ProfileItem(w.ControlValue("cmbProfiles"))); });

  const std::string profile = ProfileSettingsApp();
  auto read = [&](const char* key, const std::string& defaultValue) {
    return platform::GetSetting(profile, kSection, key, defaultValue);
  };
  Step(kLoadPlace, [&] { w.ChangeBackgroundColor(RoundToInt32(ParseNumber(read("BackgroundColor", "8388608")))); });
  Step(kLoadPlace, [&] {
    w.ChangeBordCoordinateColor(RoundToInt32(ParseNumber(read("BordCoordinateColor", "14653807"))));
  });
  const NumberKey numbers[] = {
      {"chkEnableSound", "1", false},       {"chkEnableVoice", "0", false},
      {"chkEnableIntroduction", "0", false}, {"chkWinOnTop", "0", false},
      {"chkMoveAnimation", "1", false},     {"HScrollAnimationSpeed", "100", false},
      {"sldLevel", "1", true},              {"cmbBoard", "1", false},
      {"lstMoveIncrementation", "0", false}, {"ChkToolTip", "1", false},
  };
  for (const auto& n : numbers) {
    Step(kLoadPlace, [&] {
      const double value = ParseNumber(read(n.key, n.defaultValue));
      w.SetControlValue(n.key, n.wide ? RoundToInt32(value) : RoundToInt16(value));
    });
  }
  Step(kLoadPlace, [&] { w.SetControlText("txtUserNickName", read("txtUserNickName", ZVK_Identity::gUserName)); });
  for (const char* option : {"optGender0", "optGender1"}) {
    Step(kLoadPlace, [&] { w.SetControlValue(option, ParseBoolean(read(option, "0")) ? -1 : 0); });
  }
  Step(kLoadPlace, [&] { w.SetControlText("txtAge", read("txtAge", "")); });
  Step(kLoadPlace, [&] { w.SetControlValue("cmbCountry", RoundToInt16(ParseNumber(read("cmbCountry", "0")))); });
  Step(kLoadPlace, [&] {
    w.SetControlValue("mnuShowPossibleMoves", ParseBoolean(read("mnuShowPossibleMoves", "False")) ? -1 : 0);
  });
  Step(kLoadPlace, [&] { w.SetControlValue("mnuDangerShow", ParseBoolean(read("mnuDangerShow", "True")) ? -1 : 0); });
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

}  // namespace ZVK_Board_Sub
