#include "platform/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "platform/MessageBox.h"

namespace platform {
namespace {
ScriptedShell* gShell = nullptr;

bool Open(const QUrl& url) {
  const std::string target = url.isLocalFile() ? url.toLocalFile().toStdString() : url.toString().toStdString();
  const bool opened = gShell != nullptr ? gShell->Record(target) : QDesktopServices::openUrl(url);
  // A desktop without a browser or viewer opens nothing and says nothing.
  if (!opened) MsgBox("There is no program on this computer to open\r\n" + target, 48, "Castellan");
  return opened;
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
  const bool compiled = file.suffix().compare("chm", Qt::CaseInsensitive) == 0;
  if (compiled) {
    for (const QString& candidate : {stem + ".html", stem + ".htm", stem + "/index.html"})
      if (QFileInfo(candidate).isFile()) return candidate.toStdString();
  }
  return file.isFile() ? path : std::string();
}

bool ShowHelpFile(const std::string& path) {
  const std::string target = ResolveHelpFile(path);
  if (target.empty()) {
    MsgBox("Cannot open the help file " + path + ".", 48, "Help");
    return false;
  }
  return OpenDocument(target);
}

}  // namespace platform
