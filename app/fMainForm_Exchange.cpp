// The correspondence exchange on the main window: the FTP connection members
// and the progress animation of a transfer.
#include <QLabel>
#include <QMovie>

#include "app/fMainForm.h"
#include "platform/AppPath.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"

namespace app {

void fMainForm::IniFTP(const std::string& folder) { ftp_->IniFTP(folder); }

bool fMainForm::SendCommand(const std::string& cmd) { return ftp_->SendCommand(cmd); }

void fMainForm::Inet1_StateChanged(int16_t state) { ftp_->StateChanged(state); }

bool fMainForm::TraceSwitchOn() const { return CheckValue(chkTestInternetConnection) == 1; }

void fMainForm::ShowTransferState(const std::string& text) {
  lblTestInternetConnection->setText(QString::fromStdString(text));
}

void fMainForm::StartProgressAnimation(const std::string& name) {
  // The animations lie in the Common folder beside the program folder.
  const std::string path = ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + platform::kSep + "Common" +
                           platform::kSep + "avi" + platform::kSep + name + ".gif";
  Guarded("StartProgressAnimation of Formular fMainForm", [&] {
    StopProgressAnimation();
    progressMovie_ = new QMovie(QString::fromStdString(path), QByteArray(), Animation1);
    progressMovie_->setCacheMode(QMovie::CacheAll);
    Animation1->setMovie(progressMovie_);
    Animation1->show();
    progressMovie_->start();
  }, false);
}

void fMainForm::StopProgressAnimation() {
  Animation1->hide();
  if (progressMovie_ == nullptr) return;
  progressMovie_->stop();
  Animation1->setMovie(nullptr);
  delete progressMovie_;
  progressMovie_ = nullptr;
}

}  // namespace app
