#include "platform/MessageBox.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QSpacerItem>
#include <QString>

namespace platform {
namespace {
ScriptedAnswerer* gScripted = nullptr;
long long gBeeps = 0;
}  // namespace

ScriptedAnswerer::ScriptedAnswerer() : previous_(gScripted) { gScripted = this; }
ScriptedAnswerer::~ScriptedAnswerer() { gScripted = previous_; }

int ScriptedAnswerer::Answer(const std::string& text, int style, const std::string& title) {
  int answer = DefaultAnswer(style);
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  calls_.push_back({text, style, title, answer});
  if (watcher_) watcher_(text);
  const auto delay = delays_.find(text);
  if (delay != delays_.end() && QCoreApplication::instance() != nullptr) {
    onScreen_.push_back(text);
    QEventLoop loop;
    QTimer::singleShot(delay->second, &loop, &QEventLoop::quit);
    loop.exec();
    // Cleared meanwhile by the test: nothing to take off.
    const auto shown = std::find(onScreen_.begin(), onScreen_.end(), text);
    if (shown != onScreen_.end()) onScreen_.erase(shown);
  }
  return answer;
}

void ScriptedAnswerer::Show(const std::string& text, int style, const std::string& title) {
  calls_.push_back({text, style, title, vbOK, false});
  onScreen_.push_back(text);
  if (watcher_) watcher_(text);
}

std::optional<std::string> ScriptedAnswerer::AnswerInput(const std::string& prompt, const std::string& title,
                                                         const std::string& defaultEntry) {
  std::optional<std::string> answer = defaultEntry;
  if (!inputs_.empty()) {
    answer = inputs_.front();
    inputs_.pop_front();
  }
  inputCalls_.push_back({prompt, title, defaultEntry, answer});
  return answer;
}

namespace {
int TitleBarWidth(const QString& title) {
  // The title bar's icon and buttons stand beside the title.
  constexpr int kTitleBarExtras = 140;
  return QFontMetrics(QFontDatabase::systemFont(QFontDatabase::TitleFont)).horizontalAdvance(title) +
         kTitleBarExtras;
}
QMessageBox::Icon IconOf(int style) {
  switch (style & 0x70) {
    case 16: return QMessageBox::Critical;
    case 32: return QMessageBox::Question;
    case 48: return QMessageBox::Warning;
    case 64: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// A box sizes itself by its text and buttons only, and the window manager
// then cuts a longer title ("Ca...rto"): a spacer across the whole box keeps
// it at least as wide as its title bar needs.
void WidenForTitle(QMessageBox& box) {
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(TitleBarWidth(box.windowTitle()), 0), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace

int DefaultAnswer(int style) {
  switch (style & 7) {
    case 1: return vbOK;
    case 2: return vbAbort;
    case 3: return vbYes;
    case 4: return vbYes;
    case 5: return vbRetry;
    default: return vbOK;
  }
}

int MsgBox(const std::string& text, int style, const std::string& title) {
  if (gScripted != nullptr) return gScripted->Answer(text, style, title);
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return DefaultAnswer(style);

  QMessageBox box;
  box.setText(QString::fromStdString(text));
  box.setWindowTitle(QString::fromStdString(title));
  box.setIcon(IconOf(style));
  struct Btn { QMessageBox::StandardButton qt; int vb; };
  std::vector<Btn> buttons;
  switch (style & 7) {
    case 1: buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case 2: buttons = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}}; break;
    case 3: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}}; break;
    case 4: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case 5: buttons = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: buttons = {{QMessageBox::Ok, vbOK}}; break;
  }
  QMessageBox::StandardButtons all;
  for (const auto& b : buttons) all |= b.qt;
  box.setStandardButtons(all);
  const size_t def = (style & 0x300) >> 8;
  if (def < buttons.size()) box.setDefaultButton(buttons[def].qt);
  if (style & 4096) box.setWindowModality(Qt::ApplicationModal);
  WidenForTitle(box);
  const int pressed = box.exec();
  for (const auto& b : buttons)
    if (pressed == b.qt) return b.vb;
  // Closed without a button: the cancel-like answer, or the only button.
  for (const auto& b : buttons)
    if (b.vb == vbCancel || b.vb == vbNo) return b.vb;
  return buttons.front().vb;
}

void ShowMessage(const std::string& text, int style, const std::string& title) {
  if (gScripted != nullptr) return gScripted->Show(text, style, title);
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return;
  // A child of the modal window on top, if any: a window of its own would be
  // blocked by that one and could not be closed until it is.
  QWidget* owner = QApplication::activeModalWidget();
  if (owner == nullptr) owner = QApplication::activeWindow();
  auto* box = new QMessageBox(owner);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  box->setText(QString::fromStdString(text));
  box->setWindowTitle(QString::fromStdString(title));
  box->setIcon(IconOf(style));
  box->setStandardButtons(QMessageBox::Ok);
  WidenForTitle(*box);
  box->show();
}

std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                    const std::string& defaultEntry) {
  if (gScripted != nullptr) return gScripted->AnswerInput(prompt, title, defaultEntry);
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return defaultEntry;
  QInputDialog box;
  box.setInputMode(QInputDialog::TextInput);
  box.setLabelText(QString::fromStdString(prompt));
  box.setWindowTitle(QString::fromStdString(title));
  box.setTextValue(QString::fromStdString(defaultEntry));
  box.setWindowModality(Qt::ApplicationModal);
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.textValue().toStdString();
}

void Beep() {
  ++gBeeps;
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr && gScripted == nullptr)
    QApplication::beep();
}

long long BeepCount() { return gBeeps; }

}  // namespace platform
