#include "support/ZVK_WindowHelpers.h"

#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "platform/WindowHelpers.h"
#include "support/ErrorGuard.h"
#include "support/MainWindowLinks.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Language.h"

namespace ZVK_WindowsTopMost {
void SetTopMost(QWidget* form) { platform::SetWindowTopMost(form, true); }
void SetNotTopMost(QWidget* form) { platform::SetWindowTopMost(form, false); }
}  // namespace ZVK_WindowsTopMost

namespace ZVK_API_Shell {
void RemoveCloseButton(QWidget* window) {
  Guarded("RemoveCloseButton of Modul ZVK_API_Shell", [&] { platform::RemoveCloseEntry(window); }, false);
}
void ShellOpen(const std::string& url) { platform::OpenURL(url); }
}  // namespace ZVK_API_Shell

namespace ZVK_AddFont {
void AddFont(std::string& fontFile) {
  Guarded("AddFont of Modul ZVK_AddFont", [&] {
    // A file the font system refuses is skipped like a missing one: the
    // program draws with its fallback font, nothing has failed.
    if (ZVK_File_Dir::FileExists(fontFile)) platform::AddApplicationFont(fontFile);
  });
}
}  // namespace ZVK_AddFont

namespace ZVK_HTMLHelp {
void ShowHelp(int16_t helpNumber) {
  ZVK_MainWindow::HelpSource* source = ZVK_MainWindow::GetHelpSource();
  const std::string path = source != nullptr ? source->SetHelpStrings(helpNumber) : std::string();
  // The tutorial only gets there by a download, which the user may take for
  // having failed when nothing on this computer can show it.
  const std::string noViewer =
      helpNumber == 2 ? "The chess tutorial was downloaded to\r\n" + path +
                            "\r\nbut there is no viewer for compiled help (.chm) on this computer to show it."
                            "\r\nInstall one (for example xchm) and choose Online Chess Tutorial again."
                      : std::string();
  platform::ShowHelpFile(path, noViewer);
}
}  // namespace ZVK_HTMLHelp

namespace ZVK_PlaySoundFile {
int16_t HasSound() {
  int16_t result = 0;
  Guarded("HasSound of Modul ZVK_PlaySound", [&] { result = platform::WaveOutDeviceCount() > 0 ? -1 : 0; },
          false);
  return result;
}
}  // namespace ZVK_PlaySoundFile

namespace ZVK_ErrorLog {
void InNextVersion(bool waitForAnswer) {
  constexpr const char* kPlace = "InNextVersion of Modul ZVK_ErrorLog";
  ZVK_MainWindow::TopMostBox* box = ZVK_MainWindow::GetTopMostBox();
  QWidget* window = box != nullptr ? box->MainWindow() : nullptr;
  // Released first, or the notice could open behind the pinned window.
  Guarded(kPlace, [&] { ZVK_WindowsTopMost::SetNotTopMost(window); }, false);
  Guarded(kPlace, [&] {
    const std::string text = ZVK_Language::LangText(21) + "\r\n" + ZVK_Language::LangText(22);
    if (waitForAnswer) platform::MsgBox(text, 4160, ZVK_Language::LangText(23));
    else platform::ShowMessage(text, 4160, ZVK_Language::LangText(23));
  }, false);
  Guarded(kPlace, [&] {
    if (box != nullptr && box->chkWinOnTopValue() == 1) ZVK_WindowsTopMost::SetTopMost(window);
  }, false);
}
}  // namespace ZVK_ErrorLog
