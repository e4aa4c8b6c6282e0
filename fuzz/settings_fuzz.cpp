// The settings a user may have edited: the user's and the standard profile's
// settings files and the machine-wide values, read by the splash (use
// counter), the profile list and the profile loader. Every listed profile
// name can be a file name; the counter only ever counts up; loaded values,
// saved and loaded again, are the same; no file is made outside the
// program's folders.
//
// Input: user settings file, a form feed, standard profile's settings file,
// a form feed, the machine-wide settings file.
#include <QString>
#include <QStringList>
#include <filesystem>

#include "app/frmSplash.h"
#include "board/Profiles.h"
#include "board/RecordWindow.h"
#include "fuzz/FuzzKit.h"
#include "platform/AppPath.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "support/AppIdentity.h"
#include "support/ZVK_Registry.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using ZVK_Board_Sub::HeadlessRecordWindow;

namespace {

const char* const kControls[] = {"cmbProfiles", "chkEnableSound", "chkEnableVoice", "chkEnableIntroduction",
                                 "chkWinOnTop", "chkMoveAnimation", "HScrollAnimationSpeed", "sldLevel", "cmbBoard",
                                 "lstMoveIncrementation", "ChkToolTip", "optGender0", "optGender1", "cmbCountry",
                                 "mnuShowPossibleMoves", "mnuDangerShow"};

// The window as its creation leaves it: "Standard", then the stored names.
void ListProfiles(HeadlessRecordWindow& w) {
  ZVK_Board_Sub::SetRecordWindow(&w);
  w.texts["cmbProfiles"] = "Standard";
  ZVK_Board_Sub::add_profile("Standard", 0);
  const std::string stored = platform::GetSetting(ZVK_Registry::ProfileSettingsApp("Standard"), "Settings",
                                                  "ProfilesRegStr", "");
  for (const QString& name : QString::fromStdString(stored).split(QLatin1Char('|')))
    ZVK_Board_Sub::add_profile(name.toStdString(), static_cast<int16_t>(w.ProfileCount()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzkit::StartQt();
  fuzzkit::Sandbox::Get();
  app::frmSplash::SetDurationSeconds(0);
  ZVK_Identity::gUserName = "FUZZ";
  static platform::ScriptedAnswerer answers;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto& box = fuzzkit::Sandbox::Get();
  const auto parts = fuzzkit::Parts(fuzzkit::Bytes(data, size), 3);
  std::error_code ec;
  fs::remove_all(box.configRoot(), ec);
  fs::remove_all(box.machineRoot(), ec);
  fs::create_directories(box.configRoot());
  fs::create_directories(box.machineRoot());
  const std::string user = ZVK_Registry::UserSettingsApp();
  testsupport::WriteFile(platform::SettingsFilePath(user), parts[0]);
  testsupport::WriteFile(platform::SettingsFilePath(ZVK_Registry::ProfileSettingsApp("Standard")), parts[1]);
  testsupport::WriteFile(box.machineRoot() + "/HKEY_LOCAL_MACHINE/Software/ZVK/Castellan/FUZZ/Settings.ini", parts[2]);

  const long long counted = ZVK_Registry::GetRegSetting(user, "Settings", "UseCounter", int32_t{0}).AsLong();
  {
    app::frmSplash splash;
    splash.Form_Load();
  }
  const long long now = ZVK_Registry::GetRegSetting(user, "Settings", "UseCounter", int32_t{0}).AsLong();
  fuzzkit::Check(now == counted || now == counted + 1, "the use counter only counts up by one");

  HeadlessRecordWindow first;
  ListProfiles(first);
  for (const auto& name : first.profiles) fuzzkit::Check(platform::IsPlainFileName(name), "every listed profile can be a file name");
  ZVK_Board_Sub::Load_Registry();
  ZVK_Board_Sub::Save2Registry();

  HeadlessRecordWindow second;
  ListProfiles(second);
  fuzzkit::Check(second.profiles == first.profiles, "the saved profile list lists the same profiles");
  ZVK_Board_Sub::Load_Registry();
  for (const char* control : kControls)
    fuzzkit::Check(second.ControlValue(control) == first.ControlValue(control), "saved values load the same");
  for (const char* control : {"cmbProfiles", "txtUserNickName", "txtAge"})
    fuzzkit::Check(second.ControlText(control) == first.ControlText(control), "saved texts load the same");
  fuzzkit::Check(second.backgroundColor == first.backgroundColor && second.coordinateColor == first.coordinateColor,
                 "saved colours load the same");
  ZVK_Board_Sub::SetRecordWindow(nullptr);

  for (const auto& e : fs::recursive_directory_iterator(box.configRoot()))
    fuzzkit::Check(platform::IsPlainFileName(e.path().filename().string()), "every settings file has a usable name");
  box.AssertNothingEscaped();
  return 0;
}
