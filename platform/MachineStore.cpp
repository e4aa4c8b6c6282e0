#include "platform/MachineStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <unistd.h>

#include <cstdlib>

#include "platform/AppPath.h"
#include "platform/SettingsStore.h"

namespace platform {
namespace {

constexpr const char* kDefaultValue = "@";

QString RootKeyName(const QString& first) {
  const QString up = first.toUpper();
  if (up == "HKLM" || up == "HKEY_LOCAL_MACHINE") return "HKEY_LOCAL_MACHINE";
  if (up == "HKCU" || up == "HKEY_CURRENT_USER") return "HKEY_CURRENT_USER";
  if (up == "HKCR" || up == "HKEY_CLASSES_ROOT") return "HKEY_CLASSES_ROOT";
  if (up == "HKU" || up == "HKEY_USERS") return "HKEY_USERS";
  if (up == "HKCC" || up == "HKEY_CURRENT_CONFIG") return "HKEY_CURRENT_CONFIG";
  return {};
}

// A level never climbs out of the store or splits into two.
QString CleanLevel(QString level) {
  level.replace(QChar('/'), QChar('_'));
  if (level == "." || level == "..") level = "_";
  return level;
}

struct Location {
  QString file;      // in the shared store
  QString userFile;  // in the user's own copy
  QString entry;
};

bool Locate(const std::string& path, Location& where) {
  const QString text = QString::fromStdString(path).trimmed();
  if (text.isEmpty()) return false;
  QStringList levels = text.split(QChar('\\'), Qt::SkipEmptyParts);
  if (levels.isEmpty()) return false;
  const QString root = RootKeyName(levels.takeFirst());
  if (root.isEmpty()) return false;
  QString entry = kDefaultValue;
  if (!text.endsWith(QChar('\\'))) {
    if (levels.isEmpty()) return false;
    entry = levels.takeLast();
  }
  if (levels.isEmpty()) return false;  // values live in keys, not in the root
  for (QString& level : levels) level = CleanLevel(level);
  entry.replace(QChar('/'), QChar('_'));
  const QString relative = "/" + root + "/" + levels.join('/') + ".ini";
  where.file = QString::fromStdString(MachineStoreRoot()) + relative;
  where.userFile = QString::fromStdString(MachineStoreUserRoot()) + relative;
  where.entry = entry;
  return true;
}

// Whether this user may write the file: the file itself when it is there,
// otherwise the nearest folder above it that is there (a file standing where
// a folder belongs answers no).
bool CanWrite(const QString& file) {
  QString path = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
  QFileInfo info(path);
  if (info.exists()) return info.isFile() && ::access(QFile::encodeName(path).constData(), W_OK) == 0;
  for (;;) {
    const QString parent = QFileInfo(path).absolutePath();
    if (parent == path) return false;
    path = parent;
    QFileInfo folder(path);
    if (folder.exists())
      return folder.isDir() && ::access(QFile::encodeName(path).constData(), W_OK | X_OK) == 0;
  }
}

// The shared store serves every user who may write it. A user who may not
// (the tree was installed by another user) keeps the values in a copy of
// his own instead, so that they still work for him without an error at every
// start.
bool UsesOwnCopy(const Location& where) { return !CanWrite(where.file); }

RegStatus ReadFrom(const QString& file, const QString& entry, RegValue& value) {
  if (!QFileInfo::exists(file)) return RegStatus::NotFound;
  QSettings store(file, QSettings::IniFormat);
  if (store.status() != QSettings::NoError) return RegStatus::AccessDenied;
  if (!store.contains(entry)) return RegStatus::NotFound;
  const QString stored = store.value(entry).toString();
  if (stored.startsWith("dword:")) {
    bool ok = false;
    const qint64 n = stored.mid(6).toLongLong(&ok);
    if (!ok || n < INT32_MIN || n > INT32_MAX) return RegStatus::NotFound;  // damaged entry
    value = RegValue(static_cast<int32_t>(n));
  } else if (stored.startsWith("sz:")) {
    value = RegValue(stored.mid(3).toStdString());
  } else {
    value = RegValue(stored.toStdString());  // hand-written entry: plain text
  }
  return RegStatus::Ok;
}

RegStatus WriteTo(const QString& file, const QString& entry, const RegValue& value) {
  if (!QDir().mkpath(QFileInfo(file).absolutePath())) return RegStatus::AccessDenied;
  QSettings store(file, QSettings::IniFormat);
  const QString stored = value.type == RegValue::Type::Dword
                             ? "dword:" + QString::number(value.number)
                             : "sz:" + QString::fromStdString(value.text);
  store.setValue(entry, stored);
  return SyncSettings(store) ? RegStatus::Ok : RegStatus::AccessDenied;
}

RegStatus DeleteFrom(const QString& file, const QString& entry) {
  if (!QFileInfo::exists(file)) return RegStatus::NotFound;
  QSettings store(file, QSettings::IniFormat);
  if (!store.contains(entry)) return RegStatus::NotFound;
  store.remove(entry);
  return SyncSettings(store) ? RegStatus::Ok : RegStatus::AccessDenied;
}

}  // namespace

std::string RegValue::AsText() const {
  switch (type) {
    case Type::String: return text;
    case Type::Dword: return std::to_string(number);
    default: return "";
  }
}

int32_t RegValue::AsLong() const {
  if (type == Type::Dword) return number;
  if (type != Type::String) return 0;
  bool ok = false;
  const qint64 value = QString::fromStdString(text).trimmed().toLongLong(&ok);
  if (!ok || value < INT32_MIN || value > INT32_MAX) return 0;
  return static_cast<int32_t>(value);
}

bool RegValue::operator==(const RegValue& other) const {
  if (type != other.type) return false;
  if (type == Type::String) return text == other.text;
  if (type == Type::Dword) return number == other.number;
  return true;
}

std::string MachineStoreRoot() {
  const char* env = std::getenv("CASTELLAN_MACHINE_DIR");
  if (env != nullptr && *env != '\0') return env;
  return AppPath() + "/../Common/registry";
}

std::string MachineStoreUserRoot() { return UserSettingsRoot() + "/registry"; }

std::string MachineStoreFile(const std::string& path, std::string* valueName) {
  Location where;
  if (!Locate(path, where)) return "";
  if (valueName != nullptr) *valueName = where.entry.toStdString();
  return where.file.toStdString();
}

RegStatus RegWrite(const std::string& path, const RegValue& value) {
  Location where;
  if (!Locate(path, where) || value.IsEmpty()) return RegStatus::BadPath;
  return WriteTo(UsesOwnCopy(where) ? where.userFile : where.file, where.entry, value);
}

RegStatus RegRead(const std::string& path, RegValue& value) {
  value = RegValue();
  Location where;
  if (!Locate(path, where)) return RegStatus::BadPath;
  // Until the user's copy holds a value, the shared one is read.
  if (UsesOwnCopy(where) && ReadFrom(where.userFile, where.entry, value) == RegStatus::Ok) return RegStatus::Ok;
  value = RegValue();
  return ReadFrom(where.file, where.entry, value);
}

RegStatus RegDelete(const std::string& path) {
  Location where;
  if (!Locate(path, where)) return RegStatus::BadPath;
  if (!UsesOwnCopy(where)) return DeleteFrom(where.file, where.entry);
  const RegStatus own = DeleteFrom(where.userFile, where.entry);
  if (own != RegStatus::NotFound) return own;
  // A value only the shared store holds cannot be deleted by this user.
  RegValue shared;
  return ReadFrom(where.file, where.entry, shared) == RegStatus::Ok ? RegStatus::AccessDenied : RegStatus::NotFound;
}

}  // namespace platform
