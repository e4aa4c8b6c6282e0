#include "platform/SettingsStore.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <cstdlib>

namespace platform {
namespace {

QString ConfigRoot() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && *xdg != '\0') return QString::fromLocal8Bit(xdg);
  const char* home = std::getenv("HOME");
  return QString::fromLocal8Bit(home != nullptr ? home : ".") + "/.config";
}

// Application names use backslashes as level separators; every level becomes
// a folder. Dots and other separators are kept out of the levels so that a
// name can never climb out of the store.
QString FileFor(const std::string& appName) {
  QStringList levels;
  for (const QString& part : QString::fromStdString(appName).split(QChar('\\'), Qt::SkipEmptyParts)) {
    QString clean = part;
    clean.replace(QChar('/'), QChar('_'));
    if (clean == "." || clean == "..") clean = "_";
    levels << clean;
  }
  if (levels.isEmpty()) levels << "_";
  return ConfigRoot() + "/Castellan/" + levels.join('/') + ".ini";
}

}  // namespace

bool SyncSettings(QSettings& store) {
  store.sync();
  // The status keeps the first error it met: a damaged file leaves the
  // FormatError of reading it standing, which says nothing about the write.
  // Then whether the file can be written decides, which is what sync itself
  // checks before it writes.
  switch (store.status()) {
    case QSettings::NoError:
      return true;
    case QSettings::FormatError:
      return store.isWritable();
    default:
      return false;
  }
}

std::string UserSettingsRoot() { return (ConfigRoot() + "/Castellan").toStdString(); }

std::string SettingsFilePath(const std::string& appName) { return FileFor(appName).toStdString(); }

std::string GetSetting(const std::string& appName, const std::string& section, const std::string& key,
                       const std::string& defaultValue) {
  QSettings store(FileFor(appName), QSettings::IniFormat);
  const QString name = QString::fromStdString(section) + "/" + QString::fromStdString(key);
  if (!store.contains(name)) return defaultValue;
  return store.value(name).toString().toStdString();
}

bool SaveSetting(const std::string& appName, const std::string& section, const std::string& key,
                 const std::string& value) {
  const QString file = FileFor(appName);
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return false;
  QSettings store(file, QSettings::IniFormat);
  store.setValue(QString::fromStdString(section) + "/" + QString::fromStdString(key),
                 QString::fromStdString(value));
  return SyncSettings(store);
}

void DeleteSetting(const std::string& appName, const std::string& section, const std::string& key) {
  QSettings store(FileFor(appName), QSettings::IniFormat);
  store.remove(QString::fromStdString(section) + "/" + QString::fromStdString(key));
  store.sync();
}

}  // namespace platform
