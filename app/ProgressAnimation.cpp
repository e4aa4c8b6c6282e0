#include "app/ProgressAnimation.h"

#include <QLabel>
#include <QMovie>

#include "platform/AppPath.h"
#include "support/ZVK_File_Dir.h"

namespace app {

ProgressAnimation::~ProgressAnimation() { Stop(); }

std::string ProgressAnimation::FilePath(const std::string& name) {
  const char sep = platform::kSep;
  return ZVK_File_Dir::sFixDirString(platform::AppPath()) + ".." + sep + "Common" + sep + "avi" + sep + name + ".gif";
}

void ProgressAnimation::Start(const std::string& name) {
  Stop();
  if (target_ == nullptr) return;
  movie_ = new QMovie(QString::fromStdString(FilePath(name)), QByteArray(), target_);
  movie_->setCacheMode(QMovie::CacheAll);
  target_->setMovie(movie_);
  target_->show();
  movie_->start();
}

void ProgressAnimation::Stop() {
  if (target_ != nullptr) target_->hide();
  if (movie_ == nullptr) return;
  movie_->stop();
  if (target_ != nullptr) target_->setMovie(nullptr);
  delete movie_;
}

bool ProgressAnimation::Running() const { return movie_ != nullptr && movie_->state() == QMovie::Running; }

}  // namespace app
