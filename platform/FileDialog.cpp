#include "platform/FileDialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QStringList>

namespace platform {
namespace {
ScriptedFileDialogs* gScripted = nullptr;

bool Show(CommonDialog& dialog, bool save) {
  FileDialogCall call{save, dialog.Filter, dialog.InitDir, dialog.DefaultExt, dialog.FileName, {}};
  std::string chosen;
  if (gScripted != nullptr) {
    chosen = gScripted->Answer(call);
  } else if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
    QFileDialog box(QApplication::activeWindow(), QString::fromStdString(dialog.DialogTitle),
                    QString::fromStdString(dialog.InitDir));
    box.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    box.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    box.setNameFilter(QString::fromStdString(QtNameFilter(dialog.Filter)));
    if (!dialog.DefaultExt.empty()) box.setDefaultSuffix(QString::fromStdString(dialog.DefaultExt));
    if (!dialog.FileName.empty()) box.selectFile(QString::fromStdString(dialog.FileName));
    if (box.exec() == QDialog::Accepted && !box.selectedFiles().isEmpty())
      chosen = box.selectedFiles().front().toStdString();
  }
  if (chosen.empty()) return false;
  dialog.FileName = chosen;
  return true;
}
}  // namespace

bool CommonDialog::ShowSave() { return Show(*this, true); }
bool CommonDialog::ShowOpen() { return Show(*this, false); }

ScriptedFileDialogs::ScriptedFileDialogs() : previous_(gScripted) { gScripted = this; }
ScriptedFileDialogs::~ScriptedFileDialogs() { gScripted = previous_; }

std::string ScriptedFileDialogs::Answer(const FileDialogCall& call) {
  std::string answer;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  calls_.push_back(call);
  calls_.back().answer = answer;
  return answer;
}

std::string QtNameFilter(const std::string& classicFilter) {
  const QStringList parts = QString::fromStdString(classicFilter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString pattern = parts[i + 1].trimmed();
    if (pattern.isEmpty()) continue;
    // The text usually names its pattern already ("Chess Games (*.chs)").
    QString text = parts[i].trimmed();
    if (!text.contains(pattern)) text += QStringLiteral(" (%1)").arg(pattern);
    filters << text;
  }
  return filters.join(QStringLiteral(";;")).toStdString();
}

}  // namespace platform
