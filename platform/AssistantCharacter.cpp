#include "platform/AssistantCharacter.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>

#include "platform/WindowHelpers.h"

namespace platform {

SpeechRequest ParseSpeechTags(const std::string& text) {
  SpeechRequest request;
  static const QRegularExpression tag(QStringLiteral("\\\\(Pit|Spd|Vol)=(\\d{1,6})\\\\"));
  QString rest = QString::fromStdString(text);
  for (QRegularExpressionMatch m = tag.match(rest); m.hasMatch(); m = tag.match(rest)) {
    const int value = m.captured(2).toInt();
    if (m.captured(1) == "Pit") request.pitch = value;
    if (m.captured(1) == "Spd") request.speed = value;
    if (m.captured(1) == "Vol") request.volume = value;
    rest.remove(m.capturedStart(), m.capturedLength());
  }
  request.text = rest.toStdString();
  return request;
}

std::vector<std::string> SpeechArguments(const SpeechRequest& r) {
  std::vector<std::string> args;
  // espeak-ng's pitch runs 0..99 around 50 for a voice near 160 Hz.
  if (r.pitch >= 0) args.insert(args.end(), {"-p", std::to_string(std::clamp((r.pitch - 60) / 2, 0, 99))});
  if (r.speed >= 0) args.insert(args.end(), {"-s", std::to_string(std::clamp(r.speed, 80, 450))});
  if (r.volume >= 0)
    args.insert(args.end(),
                {"-a", std::to_string(static_cast<int>(std::lround(std::clamp(r.volume, 0, 65535) * 100.0 / 65535)))});
  args.push_back("--stdin");
  return args;
}

namespace {

class CharacterWindow : public QWidget {
 public:
  CharacterWindow(AssistantCharacter::Impl* owner, const QString& glyph);
  void ShowBalloon(const QString& text, bool thought);
  void ClearBalloon() {
    balloon_->clear();
    balloon_->hide();
  }

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  AssistantCharacter::Impl* owner_;
  QLabel* balloon_;
  QLabel* figure_;
  QTimer balloonTimer_;
  QPoint pressAt_;
  bool dragged_ = false;
};

}  // namespace

struct AssistantCharacter::Impl {
  std::string name;
  std::vector<std::string> animations;
  std::vector<std::string> commands;
  std::string balloon;
  bool thought = false;
  std::string animation;
  std::vector<std::string> lastArgs;
  bool aloudAllowed = true;
  bool hiding = false;
  AgentListener* listener = nullptr;
  QPointer<QProcess> speech;
  std::unique_ptr<CharacterWindow> window;

  void StopSpeech() {
    if (speech) {
      speech->kill();
      speech->waitForFinished(200);
      delete speech;
    }
  }
  int Shift() const {
    const Qt::KeyboardModifiers m = QApplication::keyboardModifiers();
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
  }
};

namespace {

int ButtonNumber(Qt::MouseButton b) {
  switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
  }
}

CharacterWindow::CharacterWindow(AssistantCharacter::Impl* owner, const QString& glyph)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), owner_(owner) {
  setObjectName("AssistantCharacter");
  setAttribute(Qt::WA_ShowWithoutActivating);
  auto* layout = new QVBoxLayout(this);
  balloon_ = new QLabel(this);
  balloon_->setObjectName("balloon");
  balloon_->setWordWrap(true);
  balloon_->setMaximumWidth(260);
  balloon_->hide();
  figure_ = new QLabel(glyph, this);
  QFont font = figure_->font();
  font.setPointSize(40);
  figure_->setFont(font);
  figure_->setAlignment(Qt::AlignCenter);
  layout->addWidget(balloon_);
  layout->addWidget(figure_);
  balloonTimer_.setSingleShot(true);
  QObject::connect(&balloonTimer_, &QTimer::timeout, this, [this] { ClearBalloon(); });
}

void CharacterWindow::ShowBalloon(const QString& text, bool thought) {
  // A thought reads as such: italic, in a softer frame.
  balloon_->setStyleSheet(thought ? "QLabel{background:#f4f4ff;border:1px dashed #778;border-radius:10px;"
                                    "padding:6px;font-style:italic;}"
                                  : "QLabel{background:#ffffe0;border:1px solid #444;border-radius:10px;padding:6px;}");
  balloon_->setText(text);
  balloon_->show();
  adjustSize();
  balloonTimer_.start(4000 + 60 * static_cast<int>(text.size()));
}

void CharacterWindow::mousePressEvent(QMouseEvent* e) {
  pressAt_ = e->globalPosition().toPoint();
  dragged_ = false;
  if (e->button() == Qt::RightButton && !owner_->commands.empty()) {
    QMenu menu;
    for (const std::string& c : owner_->commands) menu.addAction(QString::fromStdString(c));
    if (QAction* chosen = menu.exec(pressAt_); chosen != nullptr && owner_->listener != nullptr)
      owner_->listener->Command(chosen->text().toStdString());
  }
}

void CharacterWindow::mouseMoveEvent(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton)) return;
  const QPoint delta = e->globalPosition().toPoint() - pressAt_;
  if (!dragged_ && delta.manhattanLength() < QApplication::startDragDistance()) return;
  dragged_ = true;
  move(pos() + delta);
  pressAt_ = e->globalPosition().toPoint();
}

void CharacterWindow::mouseReleaseEvent(QMouseEvent* e) {
  if (owner_->listener == nullptr) return;
  const QPoint at = e->globalPosition().toPoint();
  if (dragged_)
    owner_->listener->DragComplete(owner_->name, ButtonNumber(e->button()), owner_->Shift(), at.x(), at.y());
  else
    owner_->listener->Click(owner_->name, ButtonNumber(e->button()), owner_->Shift(), at.x(), at.y());
}

void CharacterWindow::mouseDoubleClickEvent(QMouseEvent* e) {
  if (owner_->listener == nullptr) return;
  const QPoint at = e->globalPosition().toPoint();
  owner_->listener->DblClick(owner_->name, ButtonNumber(e->button()), owner_->Shift(), at.x(), at.y());
}

void CharacterWindow::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  // Cause 1: the user hid it; the program's own hides say nothing.
  if (!owner_->hiding && owner_->listener != nullptr) owner_->listener->Hide(owner_->name, 1);
}

std::vector<std::string> SplitList(const QString& text) {
  std::vector<std::string> items;
  for (const QString& part : text.split(QChar(','), Qt::SkipEmptyParts))
    if (!part.trimmed().isEmpty()) items.push_back(part.trimmed().toStdString());
  return items;
}

}  // namespace

AssistantCharacter::AssistantCharacter() : impl_(std::make_unique<Impl>()) {}

AssistantCharacter::~AssistantCharacter() { impl_->StopSpeech(); }

std::unique_ptr<AssistantCharacter> AssistantCharacter::Load(const std::string& iniFile) {
  const QString file = QString::fromStdString(iniFile);
  if (!QFileInfo(file).isFile()) return nullptr;
  QSettings ini(file, QSettings::IniFormat);
  const QString name = ini.value("Character/Name").toString().trimmed();
  if (name.isEmpty()) return nullptr;
  std::unique_ptr<AssistantCharacter> character(new AssistantCharacter());
  Impl& d = *character->impl_;
  d.name = name.toStdString();
  // A comma-separated INI value arrives as a list.
  auto joined = [&](const char* key) {
    const QVariant v = ini.value(key);
    return v.canConvert<QStringList>() ? v.toStringList().join(',') : v.toString();
  };
  d.animations = SplitList(joined("Character/Animations"));
  d.commands = SplitList(joined("Character/Commands"));
  QString glyph = ini.value("Character/Glyph").toString();
  if (glyph.isEmpty()) glyph = QString::fromUtf8("\u265E");
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr)
    d.window = std::make_unique<CharacterWindow>(&d, glyph);
  return character;
}

std::string AssistantCharacter::Name() const { return impl_->name; }
const std::vector<std::string>& AssistantCharacter::Animations() const { return impl_->animations; }
const std::vector<std::string>& AssistantCharacter::Commands() const { return impl_->commands; }

void AssistantCharacter::Show() {
  if (impl_->window) impl_->window->show();
}

void AssistantCharacter::Hide(bool) {
  impl_->hiding = true;
  if (impl_->window) impl_->window->hide();
  impl_->hiding = false;
}

bool AssistantCharacter::Visible() const { return impl_->window && impl_->window->isVisible(); }

void AssistantCharacter::Speak(const std::string& text) {
  const SpeechRequest request = ParseSpeechTags(text);
  impl_->balloon = request.text;
  impl_->thought = false;
  impl_->lastArgs = SpeechArguments(request);
  if (impl_->window) impl_->window->ShowBalloon(QString::fromStdString(request.text), false);
  if (!CanSpeakAloud()) return;
  impl_->StopSpeech();
  auto* process = new QProcess();
  QStringList args;
  for (const std::string& a : impl_->lastArgs) args << QString::fromStdString(a);
  QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
  QObject::connect(process, &QProcess::errorOccurred, process, &QObject::deleteLater);
  process->start(QStandardPaths::findExecutable("espeak-ng"), args);
  process->write(QByteArray::fromStdString(request.text));
  process->closeWriteChannel();
  impl_->speech = process;
}

void AssistantCharacter::Think(const std::string& text) {
  impl_->balloon = ParseSpeechTags(text).text;
  impl_->thought = true;
  if (impl_->window) impl_->window->ShowBalloon(QString::fromStdString(impl_->balloon), true);
}

void AssistantCharacter::StopAll() {
  impl_->StopSpeech();
  impl_->animation.clear();
  impl_->balloon.clear();
  if (impl_->window) impl_->window->ClearBalloon();
}

void AssistantCharacter::Play(const std::string& animation) { impl_->animation = animation; }

std::string AssistantCharacter::BalloonText() const { return impl_->balloon; }
bool AssistantCharacter::BalloonIsThought() const { return impl_->thought; }
std::string AssistantCharacter::CurrentAnimation() const { return impl_->animation; }
const std::vector<std::string>& AssistantCharacter::LastSpeechArguments() const { return impl_->lastArgs; }

bool AssistantCharacter::CanSpeakAloud() const {
  return impl_->aloudAllowed && WaveOutDeviceCount() > 0 && !QStandardPaths::findExecutable("espeak-ng").isEmpty();
}

void AssistantCharacter::SetAloudAllowed(bool allowed) { impl_->aloudAllowed = allowed; }

void AssistantCharacter::SetListener(AgentListener* listener) { impl_->listener = listener; }

}  // namespace platform
