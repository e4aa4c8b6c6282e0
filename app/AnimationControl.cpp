#include "app/AnimationControl.h"

#include <QFileInfo>
#include <QLabel>
#include <QMovie>

#include "correspondence/Naming.h"

namespace app {

namespace {

QString PlayableFile(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  if (file.suffix().compare(QLatin1String("avi"), Qt::CaseInsensitive) == 0)
    return file.path() + QLatin1Char('/') + file.completeBaseName() + QStringLiteral(".gif");
  return file.filePath();
}

}  // namespace

bool OpenAnimation(QLabel* control, const std::string& path) {
  auto* movie = new QMovie(PlayableFile(path), QByteArray(), control);
  if (!movie->isValid()) {
    delete movie;
    return false;
  }
  if (QMovie* old = control->movie()) {
    old->stop();
    old->deleteLater();
  }
  control->setMovie(movie);
  movie->jumpToFrame(0);
  return true;
}

void PlayAnimation(QLabel* control) {
  if (QMovie* movie = control->movie()) movie->start();
}

void StopAnimation(QLabel* control) {
  if (QMovie* movie = control->movie()) movie->stop();
}

bool AnimationPlaying(const QLabel* control) {
  return control->movie() != nullptr && control->movie()->state() == QMovie::Running;
}

void StartTransferAnimation(QLabel* control, const std::string& name) {
  OpenAnimation(control, correspondence::AnimationDir() + name + ".gif");
  control->show();
  PlayAnimation(control);
}

void StopTransferAnimation(QLabel* control) {
  control->hide();
  StopAnimation(control);
}

}  // namespace app
