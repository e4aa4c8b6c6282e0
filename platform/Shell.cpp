#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "platform/MessageBox.h"

namespace platform {
namespace {
ScriptedShell* gShell = nullptr;

std::string Target(const QUrl& url) {
  return url.isLocalFile() ? url.toLocalFile().toStdString() : url.toString().toStdString();
}

bool OpenSilently(const QUrl& url) {
  return gShell != nullptr ? gShell->Record(Target(url)) : QDesktopServices::openUrl(url);
}

void SayNothingOpens(const std::string& target) {
  MsgBox("There is no program on this computer to open\r\n" + target, 48, "Castellan");
}

bool Open(const QUrl& url) {
  const bool opened = OpenSilently(url);
  // A desktop without a browser or viewer opens nothing and says nothing.
  if (!opened) SayNothingOpens(Target(url));
  return opened;
}

// What `xdg-mime query default <type>` prints ("" when it fails or hangs).
QString DefaultProgramOf(const QString& xdgMime, const QString& type) {
  QProcess query;
  query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), type});
  if (!query.waitForFinished(5000)) {
    query.kill();
    query.waitForFinished(1000);
    return {};
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
  return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

bool IsCompiledHelp(const std::string& path) {
  return QFileInfo(QString::fromStdString(path)).suffix().compare("chm", Qt::CaseInsensitive) == 0;
}
}  // namespace

ScriptedShell::ScriptedShell() : previous_(gShell) { gShell = this; }
ScriptedShell::~ScriptedShell() { gShell = previous_; }

bool OpenURL(const std::string& url) {
  const QUrl parsed = QUrl::fromUserInput(QString::fromStdString(url));
  if (!parsed.isValid()) return false;
  return Open(parsed);
}

bool OpenDocument(const std::string& path) { return Open(QUrl::fromLocalFile(QString::fromStdString(path))); }

std::string ResolveHelpFile(const std::string& path) {
  const QFileInfo file(QString::fromStdString(path));
  const QString stem = file.path() + "/" + file.completeBaseName();
  if (IsCompiledHelp(path)) {
    for (const QString& candidate : {stem + ".html", stem + ".htm", stem + "/index.html"})
      if (QFileInfo(candidate).isFile()) return candidate.toStdString();
  }
  return file.isFile() ? path : std::string();
}

std::string DesktopProgramFor(const std::string& path) {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return {};
  // A desktop may file the type under one of its other names (a CHM viewer
  // under "application/x-chm" as well as "application/vnd.ms-htmlhelp").
  const QMimeType type = QMimeDatabase().mimeTypeForFile(QString::fromStdString(path));
  for (const QString& name : QStringList{type.name()} + type.aliases()) {
    const QString program = DefaultProgramOf(xdgMime, name);
    if (!program.isEmpty()) return program.toStdString();
  }
  return {};
}

bool OpenDocumentWith(const std::string& path, const std::vector<std::string>& viewers) {
  if (!DesktopProgramFor(path).empty() && OpenSilently(QUrl::fromLocalFile(QString::fromStdString(path))))
    return true;
  for (const std::string& viewer : viewers) {
    const QString program = QStandardPaths::findExecutable(QString::fromStdString(viewer));
    if (!program.isEmpty() && QProcess::startDetached(program, {QString::fromStdString(path)})) return true;
  }
  return false;
}

bool ShowHelpFile(const std::string& path, const std::string& noViewerText) {
  const std::string target = ResolveHelpFile(path);
  if (target.empty()) {
    MsgBox("Cannot open the help file " + path + ".", 48, "Help");
    return false;
  }
  if (!IsCompiledHelp(target)) return OpenDocument(target);
  if (OpenDocumentWith(target, kCompiledHelpViewers)) return true;
  if (noViewerText.empty())
    SayNothingOpens(target);
  else
    MsgBox(noViewerText, 4144, "Castellan");
  return false;
}

}  // namespace platform
