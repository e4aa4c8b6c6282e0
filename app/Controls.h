#pragma once
// The small control classes of the main window: a picture box with mouse
// events in the classic button/shift/x/y form, the game buttons with their
// highlighted display state, the toolbar addressed by position and key, the
// status bar addressed by panel number, and the three-valued check boxes.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QWidget>
#include <functional>
#include <vector>

namespace app {

// Classic mouse-button numbers: 1 left, 2 right, 4 middle; shift bits 1 Shift, 2 Ctrl, 4 Alt.
int ClassicButton(Qt::MouseButton button);
int ClassicShift(Qt::KeyboardModifiers modifiers);

// A picture box: shows an image at its natural size (or a plain colour when
// it has none) and reports mouse presses and movement with pixel coordinates.
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent = nullptr);

  const QImage& picture() const { return picture_; }
  QImage& image() { return picture_; }  // drawn into directly; update() shows it
  void setPicture(const QImage& image);
  void clearPicture();

  QColor backColor() const { return backColor_; }
  void setBackColor(const QColor& color);

  QSize sizeHint() const override;

 signals:
  void mouseDown(int button, int shift, double x, double y);
  void mouseMove(int button, int shift, double x, double y);
  void clicked();

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;

 private:
  QImage picture_;
  QColor backColor_;
};

// A game button with two looks: display state 0 normal, 2 highlighted.
class GxButton : public QPushButton {
  Q_OBJECT
 public:
  explicit GxButton(const QString& caption, QWidget* parent = nullptr);
  int displayState() const { return displayState_; }
  void setDisplayState(int state);

 private:
  int displayState_ = 0;
};

// A check box whose click is a request: it reports toggleRequested and
// leaves the box as it is, for the handler to set it when it may.
class RequestCheckBox : public QCheckBox {
  Q_OBJECT
 public:
  using QCheckBox::QCheckBox;

 signals:
  void toggleRequested();

 protected:
  void nextCheckState() override { emit toggleRequested(); }
};

// The toolbar: buttons addressed by position from 1 (separators count) and
// by key. Clicking a button reports its key; a drop-down item reports the
// item's key.
class Toolbar : public QToolBar {
  Q_OBJECT
 public:
  explicit Toolbar(QWidget* parent = nullptr);

  QAction* addKeyButton(const QString& key, const QString& tooltip, bool twoState = false);
  QAction* addDropDown(const QString& key, const QString& tooltip,
                       const std::vector<std::pair<QString, QString>>& items);
  QAction* addSeparatorButton();

  int buttonCount() const { return static_cast<int>(buttons_.size()); }
  QAction* button(int position) const;  // 1-based; nullptr outside the range
  QAction* buttonByKey(const QString& key) const;
  int positionOf(const QString& key) const;  // 0 when there is no such key

 signals:
  void buttonClick(const QString& key);
  void buttonMenuClick(const QString& key);

 private:
  std::vector<QAction*> buttons_;
};

// The status bar with panels numbered from 1.
class StatusPanels : public QStatusBar {
  Q_OBJECT
 public:
  explicit StatusPanels(int panels, QWidget* parent = nullptr);
  QLabel* panel(int number) const;  // nullptr outside the range
  int panelCount() const { return static_cast<int>(panels_.size()); }

 private:
  std::vector<QLabel*> panels_;
};

// A control under the name the program addresses it by ("name", or
// "name(index)" for a member of a control array), so tests find it with findChild.
template <class W>
W* Named(W* widget, const QString& name) {
  widget->setObjectName(name);
  return widget;
}
QString Indexed(const char* name, int index);

// The information fields of a correspondence game, as the new-game and the
// load-game dialog show them. Their texts come from another PC: they are
// shown as plain text, never as markup.
struct GameInfoLabels {
  QLabel* lblDate = nullptr;
  QLabel* lblName = nullptr;
  QLabel* lblCountry = nullptr;
  QLabel* lblGender = nullptr;
  QLabel* lblAge = nullptr;
  QLabel* lblMove = nullptr;
  QLabel* lblPlayer1Color = nullptr;
};
// The frame "fraNewGame" with the fields under their headings.
QGroupBox* GameInfoFrame(GameInfoLabels& labels);

// Sets an option button as the classic control behaves: selecting one that
// is not selected runs its click handling at once (through toggled(true));
// clearing the selected one leaves its group with none selected and runs
// nothing.
void SetOptionValue(QAbstractButton* option, bool selected);

// The program's small dialogs: object name, caption, modal, and the plain
// look (the main window's style is made for its dark ground), with frame
// captions in the text colour.
void SetUpDialog(QWidget* dialog, const QString& name, const QString& caption);
// Gives a dialog the size of the controls it shows now. The layouts hear of
// shown and hidden controls only through posted requests; without them the
// dialog would keep the size it had.
void FitToContents(QWidget* dialog);
// A bold label that heads a group of controls.
QLabel* HeadingLabel(const QString& name, const QString& caption);

// Check-box values as the program stores them: 0 off, 1 on, 2 greyed.
int CheckValue(const QCheckBox* box);
void SetCheckValue(QCheckBox* box, int value);

// Runs the handler whenever the label is clicked (released over it with the
// left button), as a clickable caption does.
void OnLabelClick(QLabel* label, std::function<void()> handler);

// Colours are held as &HBBGGRR numbers.
QColor FromBgr(int32_t bgr);
int32_t ToBgr(const QColor& color);

}  // namespace app
