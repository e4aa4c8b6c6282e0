#include "app/Controls.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

#include "platform/RichText.h"

namespace app {

int ClassicButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

int ClassicShift(Qt::KeyboardModifiers modifiers) {
  int shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= 1;
  if (modifiers & Qt::ControlModifier) shift |= 2;
  if (modifiers & Qt::AltModifier) shift |= 4;
  return shift;
}

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void PictureBox::setPicture(const QImage& image) {
  picture_ = image;
  update();
}

void PictureBox::clearPicture() {
  picture_ = QImage();
  update();
}

void PictureBox::setBackColor(const QColor& color) {
  backColor_ = color;
  update();
}

QSize PictureBox::sizeHint() const {
  return picture_.isNull() ? QWidget::sizeHint() : picture_.size();
}

void PictureBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (backColor_.isValid()) painter.fillRect(rect(), backColor_);
  if (!picture_.isNull()) painter.drawImage(QPoint(0, 0), picture_);
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  emit mouseDown(ClassicButton(event->button()), ClassicShift(event->modifiers()), p.x(), p.y());
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
  const QPointF p = event->position();
  int buttons = 0;
  if (event->buttons() & Qt::LeftButton) buttons |= 1;
  if (event->buttons() & Qt::RightButton) buttons |= 2;
  if (event->buttons() & Qt::MiddleButton) buttons |= 4;
  emit mouseMove(buttons, ClassicShift(event->modifiers()), p.x(), p.y());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
  if (rect().contains(event->position().toPoint())) emit clicked();
}

// ------------------------------------------------------------------ GxButton

GxButton::GxButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setDisplayState(0);
}

void GxButton::setDisplayState(int state) {
  displayState_ = state;
  // The highlighted look draws the eye to a button that waits for the user.
  setStyleSheet(state == 2 ? QStringLiteral("QPushButton { background-color: #f0c040; color: #202020;"
                                            " font-weight: bold; }")
                           : QString());
}

// ------------------------------------------------------------------- Toolbar

Toolbar::Toolbar(QWidget* parent) : QToolBar(parent) {
  setMovable(false);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
}

QAction* Toolbar::addKeyButton(const QString& key, const QString& tooltip, bool twoState) {
  QAction* action = addAction(tooltip);
  action->setObjectName(QStringLiteral("tb_") + key);
  action->setData(key);
  action->setToolTip(tooltip);
  action->setCheckable(twoState);
  connect(action, &QAction::triggered, this, [this, key] { emit buttonClick(key); });
  buttons_.push_back(action);
  return action;
}

QAction* Toolbar::addDropDown(const QString& key, const QString& tooltip,
                              const std::vector<std::pair<QString, QString>>& items) {
  QAction* action = addKeyButton(key, tooltip);
  auto* menu = new QMenu(this);
  for (const auto& [itemKey, caption] : items) {
    if (itemKey.isEmpty()) {
      menu->addSeparator();
      continue;
    }
    QAction* item = menu->addAction(caption);
    item->setData(itemKey);
    const QString k = itemKey;
    connect(item, &QAction::triggered, this, [this, k] { emit buttonMenuClick(k); });
  }
  action->setMenu(menu);
  if (auto* button = qobject_cast<QToolButton*>(widgetForAction(action)))
    button->setPopupMode(QToolButton::MenuButtonPopup);
  return action;
}

QAction* Toolbar::addSeparatorButton() {
  QAction* action = addSeparator();
  buttons_.push_back(action);
  return action;
}

QAction* Toolbar::button(int position) const {
  if (position < 1 || position > buttonCount()) return nullptr;
  return buttons_[static_cast<size_t>(position - 1)];
}

QAction* Toolbar::buttonByKey(const QString& key) const {
  const int pos = positionOf(key);
  return pos == 0 ? nullptr : button(pos);
}

int Toolbar::positionOf(const QString& key) const {
  for (size_t i = 0; i < buttons_.size(); ++i)
    if (!buttons_[i]->isSeparator() && buttons_[i]->data().toString() == key) return static_cast<int>(i) + 1;
  return 0;
}

// -------------------------------------------------------------- StatusPanels

StatusPanels::StatusPanels(int panels, QWidget* parent) : QStatusBar(parent) {
  for (int i = 1; i <= panels; ++i) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("StatusBar_Panel%1").arg(i));
    label->setMargin(2);
    addPermanentWidget(label, i == 1 ? 3 : 1);
    panels_.push_back(label);
  }
}

QLabel* StatusPanels::panel(int number) const {
  if (number < 1 || number > panelCount()) return nullptr;
  return panels_[static_cast<size_t>(number - 1)];
}

// ---------------------------------------------------------------- helpers

QString Indexed(const char* name, int index) { return QStringLiteral("%1(%2)").arg(name).arg(index); }

QGroupBox* GameInfoFrame(GameInfoLabels& labels) {
  auto* frame = Named(new QGroupBox, QStringLiteral("fraNewGame"));
  auto* grid = new QGridLayout(frame);
  struct Field {
    const char* heading;
    const char* name;
    QLabel** label;
  };
  const Field fields[] = {{"Date", "lblDate", &labels.lblDate},
                          {"Name", "lblName", &labels.lblName},
                          {"Country", "lblCountry", &labels.lblCountry},
                          {"Gender", "lblGender", &labels.lblGender},
                          {"Age", "lblAge", &labels.lblAge},
                          {"Move", "lblMove", &labels.lblMove},
                          {"Piece color of joining player -", "lblPlayer1Color", &labels.lblPlayer1Color}};
  int row = 0;
  for (const Field& field : fields) {
    auto* label = Named(new QLabel(QStringLiteral("x")), QString::fromLatin1(field.name));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    *field.label = label;
    grid->addWidget(new QLabel(QString::fromLatin1(field.heading)), row, 0);
    grid->addWidget(label, row++, 1);
  }
  grid->setColumnStretch(1, 1);
  return frame;
}

void SetUpDialog(QWidget* dialog, const QString& name, const QString& caption) {
  dialog->setObjectName(name);
  dialog->setWindowTitle(caption);
  dialog->setWindowModality(Qt::ApplicationModal);
  dialog->setStyleSheet(QStringLiteral("QGroupBox::title { color: palette(window-text); }"));
}

void FitToContents(QWidget* dialog) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  dialog->adjustSize();
}

QLabel* HeadingLabel(const QString& name, const QString& caption) {
  auto* label = new QLabel(caption);
  label->setObjectName(name);
  QFont bold = label->font();
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

void SetOptionValue(QAbstractButton* option, bool selected) {
  if (selected) {
    option->setChecked(true);
    return;
  }
  if (!option->isChecked()) return;
  // An exclusive group refuses to lose its last selection; the classic
  // option group allows it.
  const bool exclusive = option->autoExclusive();
  option->setAutoExclusive(false);
  option->setChecked(false);
  option->setAutoExclusive(exclusive);
}

int CheckValue(const QCheckBox* box) {
  switch (box->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
  }
}

void SetCheckValue(QCheckBox* box, int value) {
  if (value == 2) box->setTristate(true);
  box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}

QColor FromBgr(int32_t bgr) {
  return QColor(platform::ColorRed(bgr), platform::ColorGreen(bgr), platform::ColorBlue(bgr));
}

int32_t ToBgr(const QColor& color) { return platform::ColorFromRgb(color.red(), color.green(), color.blue()); }

// ------------------------------------------------------------- label clicks

namespace {

class LabelClickFilter : public QObject {
 public:
  LabelClickFilter(QLabel* label, std::function<void()> handler) : QObject(label), handler_(std::move(handler)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* label = static_cast<QWidget*>(watched);
    if (mouse->button() != Qt::LeftButton || !label->rect().contains(mouse->position().toPoint())) return false;
    handler_();
    return true;
  }

 private:
  std::function<void()> handler_;
};

}  // namespace

void OnLabelClick(QLabel* label, std::function<void()> handler) {
  label->setCursor(Qt::PointingHandCursor);
  label->installEventFilter(new LabelClickFilter(label, std::move(handler)));
}

}  // namespace app
