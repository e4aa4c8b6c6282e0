// The Help menu: the program's help pages, the chess tutorial (downloaded on
// request), the pages of the product's web site, the update check and the
// about box; and the error label and the top-most box of the option panel.
#include <QCheckBox>
#include <QLabel>
#include <QMenu>

#include "app/AnimationControl.h"
#include "app/fMainForm.h"
#include "app/frmAbout.h"
#include "platform/AppPath.h"
#include "platform/DoEvents.h"
#include "platform/Inet.h"
#include "platform/MessageBox.h"
#include "platform/Shell.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_File_Dir.h"
#include "support/ZVK_Internet.h"
#include "support/ZVK_WindowHelpers.h"

namespace app {

namespace {

std::string Place(const char* handler) { return std::string(handler) + " of Formular fMainForm"; }

// The index that belongs beside a compiled help file.
std::string IndexFileOf(const std::string& helpFile) {
  return helpFile.substr(0, helpFile.size() - 4) + ".chi";
}

}  // namespace

void fMainForm::ConnectHelp() {
  const std::pair<QAction*, void (fMainForm::*)()> entries[] = {
      {mnuHelpContent, &fMainForm::mnuHelpContent_Click},
      {mnuChessTutorial, &fMainForm::mnuChessTutorial_Click},
      {mnuOnlineHelp, &fMainForm::mnuOnlineHelp_Click},
      {mnuForum, &fMainForm::mnuForum_Click},
      {mnuFAQ, &fMainForm::mnuFAQ_Click},
      {mnuSendImprovementRequest, &fMainForm::mnuSendImprovementRequest_Click},
      {mnuSendBugReport, &fMainForm::mnuSendBugReport_Click},
      {mnuUpdates, &fMainForm::mnuUpdates_Click},
      {mnuHomepage, &fMainForm::mnuHomepage_Click},
      {mnuOtherProducts, &fMainForm::mnuOtherProducts_Click},
      {mnuSalesPartner, &fMainForm::mnuSalesPartner_Click},
      {mnuAbout, &fMainForm::mnuAbout_Click},
  };
  // Each may open a window (a question, a message, the about box, the
  // tutorial's download): after a transfer under way.
  for (const auto& [action, handler] : entries)
    OnWindowCommand(action, [this, handler = handler] { (this->*handler)(); });

  // Restoring the box from the profile pins the window as a click does.
  connect(chkWinOnTop, &QCheckBox::stateChanged, this, [this] { chkWinOnTop_Click(); });
  OnLabelClick(lblError, [this] { lblError_Click(); });
  reportBug = new QLabel(QStringLiteral("Report a bug"));
  reportBug->setObjectName(QStringLiteral("reportBug"));
  reportBug->setToolTip(QStringLiteral("Opens the bug report page of the Castellan web site"));
  StatusBar->addPermanentWidget(reportBug);
  OnLabelClick(reportBug, [this] {
    GiveCommand(CommandGate::Kind::Window, reportBug->text(), [this] { reportBug_Click(); });
  });
}

void fMainForm::mnuHelpContent_Click() {
  Guarded(Place("mnuHelpContent_Click").c_str(), [&] {
    ZVK_HTMLHelp::ShowHelp(1);
    platform::DoEvents();
  });
}

void fMainForm::mnuChessTutorial_Click() {
  Guarded(Place("mnuChessTutorial_Click").c_str(), [&] {
    const std::string tutorial = SetHelpStrings(2);
    if (ZVK_File_Dir::FileExists(tutorial)) {
      ZVK_HTMLHelp::ShowHelp(2);
      platform::DoEvents();
      return;
    }
    const int answer = platform::MsgBox(
        "The tutorial is not installed on your PC!\r\nWould you like to download it now ?", 4196, "Info");
    // Taken only now: a transfer running while the question was up may have ended.
    platform::InetUse transfer;
    if (answer == platform::vbYes && (transfer = ClaimTransfer(platform::InetPurpose::WebDocument))) {
      // Each file arrives whole or not at all; the index is only worth
      // fetching once the tutorial itself is there. It opens at the next use
      // of the menu entry. The messages name the address tried: a wrong one
      // means the web site setting, not the connection, needs a look.
      const std::string tutorialUrl = ZVK_Internet::WebPage("/help/ChessTrl.chm");
      const std::string indexUrl = ZVK_Internet::WebPage("/help/ChessTrl.chi");
      std::string error;
      if (!ZVK_Internet::DownloadToFile(*Inet1, tutorialUrl, tutorial, kMaxTutorialBytes, error)) {
        platform::MsgBox("The tutorial could not be downloaded from\r\n" + tutorialUrl + "\r\n(" + error +
                             ").\r\nPlease check the Internet connection and the web site setting"
                             " (Common/WebSite.txt, see the README) and choose Online Chess Tutorial again.",
                         4144, "Info");
      } else if (!ZVK_Internet::DownloadToFile(*Inet1, indexUrl, IndexFileOf(tutorial), kMaxTutorialBytes, error)) {
        // The tutorial is stored and usable; only its index is missing.
        platform::MsgBox("The tutorial has been downloaded and opens the next time you choose Online Chess "
                         "Tutorial.\r\nIts index could not be fetched from\r\n" + indexUrl + "\r\n(" + error +
                             "); the tutorial can be read without it.",
                         4160, "Info");
      }
    }
    platform::DoEvents();
  });
}

void fMainForm::mnuUpdates_Click() {
  // Every step runs whatever the one before did: the window must never stay
  // released or the animation keep running because the check failed.
  auto step = [](auto&& body) {
    try {
      body();
    } catch (...) {
    }
  };
  step([&] {
    const char sep = platform::kSep;
    OpenAnimation(Animation1, ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + sep + "Common" + sep + "avi" +
                                  sep + "update_app.avi");
    Animation1->raise();
    Animation1->setVisible(true);
    PlayAnimation(Animation1);
  });
  step([&] { ZVK_WindowsTopMost::SetNotTopMost(this); });
  step([&] { ZVK_Internet::ChkNewVersion(); });
  step([&] {
    if (CheckValue(chkWinOnTop) == 1) ZVK_WindowsTopMost::SetTopMost(this);
  });
  step([&] {
    Animation1->setVisible(false);
    StopAnimation(Animation1);
  });
  platform::DoEvents();
}

void fMainForm::OpenWebPage(const char* handler, const std::string& path) {
  Guarded(Place(handler).c_str(), [&] {
    ZVK_API_Shell::ShellOpen(ZVK_Internet::WebPage(path));
    platform::DoEvents();
  });
}

void fMainForm::mnuOnlineHelp_Click() { OpenWebPage("mnuOnlineHelp_Click", "/products/a_castellan_e.htm"); }
void fMainForm::mnuForum_Click() { OpenWebPage("mnuForum_Click", "/cgi-bin/forum/x-forum.cgi"); }
void fMainForm::mnuFAQ_Click() { OpenWebPage("mnuFAQ_Click", "/products/faq_e.htm"); }
void fMainForm::mnuSendImprovementRequest_Click() {
  OpenWebPage("mnuSendImprovementRequest_Click", "/support/BugReport.htm");
}
void fMainForm::mnuSendBugReport_Click() { OpenWebPage("mnuSendBugReport_Click", "/support/BugReport.htm"); }
void fMainForm::reportBug_Click() { OpenWebPage("reportBug_Click", "/support/BugReport.htm"); }
void fMainForm::mnuHomepage_Click() { OpenWebPage("mnuHomepage_Click", "/index.htm"); }
void fMainForm::mnuOtherProducts_Click() { OpenWebPage("mnuOtherProducts_Click", "/products/suite_e.htm"); }
void fMainForm::mnuSalesPartner_Click() { OpenWebPage("mnuSalesPartner_Click", "/support/salespartner_e.htm"); }

void fMainForm::mnuAbout_Click() {
  Guarded(Place("mnuAbout_Click").c_str(), [&] {
    frmAbout about(this);
    about.exec();
    platform::DoEvents();
  });
}

void fMainForm::lblError_Click() {
  const std::string place = Place("lblError_Click");
  // Each statement runs whatever the one before did: the indicator is reset
  // even when no viewer could be started.
  Guarded(place.c_str(), [&] { platform::OpenDocument(ZVK_ErrorLog::ErrorLogPath()); }, false);
  Guarded(place.c_str(), [&] { ErrorIndicatorBox->setBackColor(FromBgr(0xFF00)); }, false);
  Guarded(place.c_str(), [&] { lblError->setVisible(false); }, false);
}

void fMainForm::chkWinOnTop_Click() {
  Guarded(Place("chkWinOnTop_Click").c_str(), [&] {
    if (CheckValue(chkWinOnTop) == 1)
      ZVK_WindowsTopMost::SetTopMost(this);
    else
      ZVK_WindowsTopMost::SetNotTopMost(this);
    platform::DoEvents();
  });
}

}  // namespace app
