#include "app/Castellan_Main.h"

#include <QApplication>
#include <memory>

#include "app/fMainForm.h"
#include "app/frmSplash.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "platform/SingleInstance.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_GetSystemInfos.h"
#include "support/ZVK_Internet.h"
#include "support/ZVK_Language.h"
#include "support/ZVK_WindowHelpers.h"

namespace Castellan_Main {

namespace {
std::unique_ptr<app::fMainForm> gMainForm;
constexpr const char* kPlace = "Main of Modul Castellan_Main";
}  // namespace

app::fMainForm* MainForm() { return gMainForm.get(); }

void DestroyMainForm() { gMainForm.reset(); }

bool Main() {
  // Each step is logged on failure and the next one runs; only the missing
  // language file and a second running copy end the start-up.
  Guarded(kPlace, [] {
    ZVK_Identity::gAppName = "Castellan";
    ZVK_Identity::gProductNumber = "1066";
  }, false);
  Guarded(kPlace, [] { ZVK_GetSystemInfos::gWinVersionNum = ZVK_GetSystemInfos::GetWinVersionNum(); }, false);
  Guarded(kPlace, [] { ZVK_PlaySoundFile::gHasSound = ZVK_PlaySoundFile::HasSound(); }, false);
  Guarded(kPlace, [] { ZVK_Internet::Get_UrlList(); }, false);
  Guarded(kPlace, [] { ZVK_GetSystemInfos::GetPCInfos(); }, false);
  Guarded(kPlace, [] {
    ZVK_Language::gLanguageName = platform::GetSetting(
        "ZVK\\" + ZVK_Identity::gAppName + "\\" + ZVK_Identity::gUserName, "Settings", "Language", "english");
  }, false);
  bool languageLoaded = false;
  Guarded(kPlace, [&] { languageLoaded = ZVK_Language::set_language(ZVK_Language::gLanguageName + ".lng"); }, false);
  if (!languageLoaded) return false;

  for (const char* font : {"arial.ttf", "arialbd.ttf", "ARIALN.TTF"})
    Guarded(kPlace, [&] {
      std::string path = platform::AppPath() + platform::kSep + ".." + platform::kSep + "Common" + platform::kSep +
                         "font" + platform::kSep + font;
      ZVK_AddFont::AddFont(path);
    }, false);

  bool another = false;
  Guarded(kPlace, [&] { another = platform::PrevInstance(); }, false);
  if (another) {
    platform::MsgBox(ZVK_Language::LangText(306) + "\r\n" + ZVK_Language::LangText(127), 4144,
                     ZVK_ErrorLog::ApplicationTitle() + " Info");
    return false;
  }

  Guarded(kPlace, [] {
    gSplashRunning = -1;
    auto splash = std::make_unique<app::frmSplash>();
    splash->Form_Load();
    while (gSplashRunning != 0) platform::DoEventsNow();
    splash->close();
  }, false);

  Guarded(kPlace, [] { ZVK_ErrorLog::WriteLogHeader(); }, false);

  Guarded(kPlace, [] {
    gMainForm = std::make_unique<app::fMainForm>();
    gMainForm->Form_Initialize();
    platform::DoEventsNow();
    gMainForm->setWindowTitle(QString::fromStdString(ZVK_ErrorLog::ApplicationTitle()));
    gMainForm->repaint();
    platform::DoEventsNow();
    platform::DoEventsNow();
  }, false);
  return gMainForm != nullptr;
}

}  // namespace Castellan_Main
