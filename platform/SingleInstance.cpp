#include "platform/SingleInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLockFile>
#include <QCryptographicHash>
#include <QStandardPaths>

#include "platform/AppPath.h"

namespace platform {

struct InstanceLock::Impl {
  explicit Impl(const QString& file) : lock(file) {
    lock.setStaleLockTime(0);  // only a dead owner makes a lock stale
    acquired = lock.tryLock(0);
  }
  QLockFile lock;
  bool acquired = false;
};

InstanceLock::InstanceLock(const std::string& name) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  QString clean = QString::fromStdString(name);
  clean.replace(QChar('/'), QChar('_'));
  impl_ = std::make_unique<Impl>(dir + "/" + clean + "-" + QString::number(getuid()) + ".lock");
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::Acquired() const { return impl_->acquired; }

std::string ProgramInstanceName() {
  const QByteArray folder = QDir(QString::fromStdString(AppPath())).absolutePath().toUtf8();
  const QByteArray digest = QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex().left(12);
  return "Castellan-" + digest.toStdString();
}

bool PrevInstance() {
  static InstanceLock lock(ProgramInstanceName());
  return !lock.Acquired();
}

}  // namespace platform
