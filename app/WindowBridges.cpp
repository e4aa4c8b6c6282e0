#include "app/WindowBridges.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QTextEdit>

#include "app/fMainForm.h"
#include "board/ZVK_Board_Sub.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"

namespace app {

namespace {

[[noreturn]] void InvalidValue() { throw ZVK_ErrorLog::RuntimeError(380, "Invalid property value"); }

// Toolbar buttons are addressed by position from 1; a position outside the
// bar is the classic control's index error.
void EnableToolbarButton(Toolbar& tb, int position, bool enabled) {
  QAction* button = tb.button(position);
  if (button == nullptr) throw ZVK_ErrorLog::RuntimeError(35600, "Index out of bounds");
  button->setEnabled(enabled);
}

}  // namespace

// ------------------------------------------------------------------ engine

void EngineBridge::SetProgresoMax(int32_t max) { f_.progreso->setMaximum(max < 1 ? 1 : max); }
void EngineBridge::SetProgresoValue(int32_t value) { f_.progreso->setValue(value); }
int32_t EngineBridge::ProgresoValue() { return f_.progreso->value() < 0 ? 0 : f_.progreso->value(); }
void EngineBridge::SetLblJpenCaption(const std::string& caption) { f_.lbl_jpen->setText(QString::fromStdString(caption)); }
void EngineBridge::RefreshLblJpen() { f_.lbl_jpen->repaint(); }
void EngineBridge::SetLblPlayCaption(const std::string& caption) { f_.lbl_Play->setText(QString::fromStdString(caption)); }
bool EngineBridge::LblwwCheckVisible() { return !f_.lblwwCheck->isHidden(); }
bool EngineBridge::LblbbCheckVisible() { return !f_.lblbbCheck->isHidden(); }
int32_t EngineBridge::SldLevelValue() { return f_.sldLevel->value(); }

void EngineBridge::SetHScroll1Max(int16_t max) { f_.HScroll1->setMaximum(max); }

void EngineBridge::SetHScroll1Value(int16_t value) {
  // A value above the maximum raises the maximum's error like the classic bar does.
  if (value > f_.HScroll1->maximum() || value < f_.HScroll1->minimum()) InvalidValue();
  f_.HScroll1->setValue(value);  // valueChanged runs HScroll1_Change synchronously
}

void EngineBridge::SetMnuNewGameEnabled(bool enabled) { f_.mnuNewGame->setEnabled(enabled); }
void EngineBridge::SetMnuLoadGameStartEnabled(bool enabled) { f_.mnuLoadGameStart->setEnabled(enabled); }

void EngineBridge::SetTbButtonEnabled(int index, bool enabled) { EnableToolbarButton(*f_.tb, index, enabled); }

int EngineBridge::MsgBox(const std::string& text, int style, const std::string& title) {
  return platform::MsgBox(text, style, title);
}

// ------------------------------------------------------------------- board

BoardBridge::BoardBridge(fMainForm& form) : f_(form) {
  const auto pictures = ZVK_Board_Sub::LoadPiecePictures(ZVK_Board_Sub::PiecePictureFolder());
  for (auto& [index, box] : f_.picPiece) box->setPicture(pictures.picPiece[static_cast<size_t>(index)]);
  for (int i = 0; i < 3; ++i) f_.picEffector[i]->setPicture(pictures.picEffector[static_cast<size_t>(i)]);
  QImage blank(ZVK_Board_Sub::kBoardPixels, ZVK_Board_Sub::kBoardPixels, QImage::Format_RGB32);
  blank.fill(Qt::white);
  f_.picFrontBuffer->setPicture(blank);
  f_.picFrontTempBuffer->setPicture(blank);
}

QImage& BoardBridge::picFrontBuffer() { return f_.picFrontBuffer->image(); }

void BoardBridge::RefreshFrontBuffer() { f_.picFrontBuffer->update(); }

QImage& BoardBridge::picFrontTempBuffer() { return f_.picFrontTempBuffer->image(); }

void BoardBridge::SetFrontBufferEnabled(bool enabled) { f_.picFrontBuffer->setEnabled(enabled); }

const QImage& BoardBridge::picPiece(int index) {
  auto it = f_.picPiece.find(index);
  return it == f_.picPiece.end() ? empty_ : it->second->picture();
}

const QImage& BoardBridge::picEffector(int index) {
  if (index < 0 || index > 2) return empty_;
  return f_.picEffector[static_cast<size_t>(index)]->picture();
}

bool BoardBridge::Reset_Backgroud_BordPattern(QImage& target) { return f_.Reset_Backgroud_BordPattern(target); }

void BoardBridge::SetCheckLabelVisible(ZVK_Board_Sub::CheckLabel label, bool visible) {
  (label == ZVK_Board_Sub::CheckLabel::lblwwCheck ? f_.lblwwCheck : f_.lblbbCheck)->setVisible(visible);
}

bool BoardBridge::mnuShowPossibleMovesChecked() { return f_.mnuShowPossibleMoves->isChecked(); }
bool BoardBridge::mnuDangerShowChecked() { return f_.mnuDangerShow->isChecked(); }
int BoardBridge::chkMoveAnimationValue() { return CheckValue(f_.chkMoveAnimation); }
std::string BoardBridge::lstMoveIncrementationText() {
  return f_.lstMoveIncrementation->currentIndex() < 0 ? std::string()
                                                      : f_.lstMoveIncrementation->currentText().toStdString();
}
int BoardBridge::HScrollAnimationSpeedValue() { return f_.HScrollAnimationSpeed->value(); }

void BoardBridge::EnableGameStartCommands() { f_.SetGameStartCommandsEnabled(true); }

// ------------------------------------------------------------------ record

namespace {

void AppendToMoveList(QTextEdit* txtMoveList, const std::string& text, int32_t color) {
  QTextCursor cursor(txtMoveList->document());
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(FromBgr(color));
  QString t = QString::fromStdString(text);
  t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  cursor.insertText(t, format);
  txtMoveList->setTextCursor(cursor);
  txtMoveList->ensureCursorVisible();
}

}  // namespace

void RecordBridge::MoveListAppended(const std::string& text, int32_t color) {
  AppendToMoveList(f_.txtMoveList, text, color);
  f_.RTB2->setPlainText(QString::fromStdString(text));
}

// A loaded or cleared record writes no line: RTB2 keeps the last line written,
// which the correspondence files carry.
void RecordBridge::MoveListReplaced(const platform::RichTextDocument& record) {
  f_.txtMoveList->clear();
  for (const auto& run : record.Runs()) AppendToMoveList(f_.txtMoveList, run.text, run.color);
}

std::string RecordBridge::lbl_PlayCaption() { return f_.lbl_Play->text().toStdString(); }

void RecordBridge::SetTakenPicture(ZVK_Board_Sub::TakenStrip strip, int k, int picture) {
  if (k < 1 || k > 16) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrSubscript, "Subscript out of range");
  auto& boxes = strip == ZVK_Board_Sub::TakenStrip::TakenWhite ? f_.TakenWhite : f_.TakenBlack;
  PictureBox* box = boxes[static_cast<size_t>(k)];
  auto it = f_.picPiece.find(picture);
  if (picture == 0 || it == f_.picPiece.end() || it->second->picture().isNull()) {
    box->clearPicture();
    return;
  }
  box->setPicture(it->second->picture().scaled(box->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

std::string RecordBridge::txtCommentText() { return f_.txtComment->text().toStdString(); }
void RecordBridge::SetTxtCommentText(const std::string& text) { f_.txtComment->setText(QString::fromStdString(text)); }
size_t RecordBridge::txtCommentCapacity() { return static_cast<size_t>(f_.txtComment->maxLength()); }

int32_t RecordBridge::ControlValue(const std::string& name) {
  if (name == "optGender0" || name == "optGender1")
    return f_.optGender[name == "optGender1" ? 1 : 0]->isChecked() ? -1 : 0;
  if (name == "mnuShowPossibleMoves") return f_.mnuShowPossibleMoves->isChecked() ? -1 : 0;
  if (name == "mnuDangerShow") return f_.mnuDangerShow->isChecked() ? -1 : 0;
  if (name == "cmbLanguage") return f_.cmbLanguage->currentIndex() + 1;
  QObject* o = f_.findChild<QObject*>(QString::fromStdString(name));
  if (auto* c = qobject_cast<QCheckBox*>(o)) return CheckValue(c);
  if (auto* s = qobject_cast<QAbstractSlider*>(o)) return s->value();
  if (auto* b = qobject_cast<QComboBox*>(o)) return b->currentIndex();
  throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "No control " + name);
}

void RecordBridge::SetControlValue(const std::string& name, int32_t value) {
  if (name == "optGender0" || name == "optGender1") {
    QRadioButton* r = f_.optGender[name == "optGender1" ? 1 : 0];
    if (value != 0) {
      r->setChecked(true);
    } else if (r->isChecked()) {
      // An option button is switched off without choosing the other one.
      r->setAutoExclusive(false);
      r->setChecked(false);
      r->setAutoExclusive(true);
    }
    return;
  }
  if (name == "mnuShowPossibleMoves") return f_.mnuShowPossibleMoves->setChecked(value != 0);
  if (name == "mnuDangerShow") return f_.mnuDangerShow->setChecked(value != 0);
  if (name == "cmbLanguage") {
    if (value < 1 || value > f_.cmbLanguage->count()) InvalidValue();
    f_.cmbLanguage->setCurrentIndex(value - 1);
    return;
  }
  QObject* o = f_.findChild<QObject*>(QString::fromStdString(name));
  if (auto* c = qobject_cast<QCheckBox*>(o)) {
    if (value < 0 || value > 2) InvalidValue();
    return SetCheckValue(c, value);
  }
  if (auto* s = qobject_cast<QAbstractSlider*>(o)) {
    if (value < s->minimum() || value > s->maximum()) InvalidValue();
    return s->setValue(value);
  }
  if (auto* b = qobject_cast<QComboBox*>(o)) {
    if (value < -1 || value >= b->count()) InvalidValue();
    return b->setCurrentIndex(value);
  }
  throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "No control " + name);
}

std::string RecordBridge::ControlText(const std::string& name) {
  if (name == "cmbProfiles") return f_.ProfileText();
  QObject* o = f_.findChild<QObject*>(QString::fromStdString(name));
  if (auto* e = qobject_cast<QLineEdit*>(o)) return e->text().toStdString();
  if (auto* b = qobject_cast<QComboBox*>(o)) return b->currentText().toStdString();
  if (auto* l = qobject_cast<QLabel*>(o)) return l->text().toStdString();
  throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "No control " + name);
}

void RecordBridge::SetControlText(const std::string& name, const std::string& text) {
  QObject* o = f_.findChild<QObject*>(QString::fromStdString(name));
  if (auto* e = qobject_cast<QLineEdit*>(o)) return e->setText(QString::fromStdString(text));
  if (auto* b = qobject_cast<QComboBox*>(o)) {
    if (b->isEditable()) return b->setEditText(QString::fromStdString(text));
    const int i = b->findText(QString::fromStdString(text));
    if (i < 0) InvalidValue();
    return b->setCurrentIndex(i);
  }
  if (auto* l = qobject_cast<QLabel*>(o)) return l->setText(QString::fromStdString(text));
  throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "No control " + name);
}

int32_t RecordBridge::BackgroundColor() { return f_.BackgroundColor(); }
void RecordBridge::ChangeBackgroundColor(int32_t color) { f_.ChangeBackgroundColor(color); }
int32_t RecordBridge::BordCoordinateColor() { return fMainForm::ForeColor(f_.lblFile[0]); }
void RecordBridge::ChangeBordCoordinateColor(int32_t color) { f_.ChangeBordCoordinateColor(color); }

int RecordBridge::ProfileCount() { return f_.cmbProfiles->count(); }
std::string RecordBridge::ProfileItem(int index) {
  if (index < 0 || index >= f_.cmbProfiles->count()) InvalidValue();
  return f_.cmbProfiles->itemText(index).toStdString();
}
void RecordBridge::AddProfileItem(const std::string& name) { f_.cmbProfiles->addItem(QString::fromStdString(name)); }

void RecordBridge::SetMenuEnabled(const std::string& name, bool enabled) {
  const QString n = QString::fromStdString(name);
  if (auto* menu = f_.findChild<QMenu*>(n)) {
    menu->setEnabled(enabled);
    menu->menuAction()->setEnabled(enabled);
    return;
  }
  // Edit mode has two switches: the box beside the board opens and closes
  // with the menu's entry, or a game that forbids editing could still be edited.
  if (name == "mnuEdit") f_.setup->setEnabled(enabled);
  if (auto* action = f_.findChild<QAction*>(n)) return action->setEnabled(enabled);
  throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "No menu " + name);
}

int RecordBridge::ToolbarButtonCount() { return f_.tb->buttonCount(); }

void RecordBridge::SetToolbarButtonEnabled(int position, bool enabled) {
  EnableToolbarButton(*f_.tb, position, enabled);
}

void RecordBridge::SetMoveSliderEnabled(bool enabled) { f_.HScroll1->setEnabled(enabled); }

void RecordBridge::HScroll1_Change() { f_.HScroll1_Change(); }

// ----------------------------------------------------------------- support

std::string SupportBridge::SetHelpStrings(int16_t helpNumber) { return f_.SetHelpStrings(helpNumber); }
int16_t SupportBridge::chkWinOnTopValue() const { return static_cast<int16_t>(CheckValue(f_.chkWinOnTop)); }
QWidget* SupportBridge::MainWindow() { return &f_; }
int16_t SupportBridge::chkEnableVoiceValue() const { return static_cast<int16_t>(CheckValue(f_.chkEnableVoice)); }

// ------------------------------------------------------------------ install

WindowBridges::WindowBridges(fMainForm& form) : engine(form), board(form), record(form), support(form) {
  ZVK_MainWindow::SetHelpSource(&support);
  ZVK_MainWindow::SetTopMostBox(&support);
  ZVK_MainWindow::SetVoiceBox(&support);
  ZVK_Engine::SetEngineWindow(&engine);
  ZVK_Board_Sub::SetBoardView(&board);
  ZVK_Board_Sub::SetRecordWindow(&record);
  ZVK_ErrorLog::SetErrorIndicator(&form);
}

WindowBridges::~WindowBridges() {
  ZVK_MainWindow::SetVoiceBox(nullptr);
  ZVK_MainWindow::SetTopMostBox(nullptr);
  ZVK_MainWindow::SetHelpSource(nullptr);
  ZVK_ErrorLog::SetErrorIndicator(nullptr);
  ZVK_Board_Sub::SetRecordWindow(nullptr);
  ZVK_Board_Sub::SetBoardView(nullptr);
  ZVK_Engine::SetEngineWindow(nullptr);
}

}  // namespace app
