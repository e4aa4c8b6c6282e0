#include "app/frmSplash.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QTime>
#include <QVBoxLayout>
#include <chrono>
#include <climits>
#include <cmath>

#include "app/Castellan_Main.h"
#include "platform/DoEvents.h"
#include "support/AppIdentity.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_Registry.h"
#include "support/ZVK_Version.h"

namespace app {

namespace {
int gDurationSeconds = 3;

QLabel* Named(QLabel* label, const char* name) {
  label->setObjectName(QString::fromLatin1(name));
  return label;
}
}  // namespace

void frmSplash::SetDurationSeconds(int seconds) { gDurationSeconds = seconds < 0 ? 0 : seconds; }
int frmSplash::DurationSeconds() { return gDurationSeconds; }

frmSplash::frmSplash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("frmSplash"));
  setFixedSize(440, 260);
  setStyleSheet(QStringLiteral(
      "QWidget#frmSplash { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1c2f4a, stop:1 #0b1626);"
      "  border: 2px solid #c9a24a; }"
      "QLabel { color: #e8e2d0; }"
      "QLabel#lblTitle { font-size: 30px; font-weight: bold; color: #f2d27a; }"
      "QLabel#lblTitel2 { font-size: 12px; color: #9fb3cc; }"));
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(24, 20, 24, 16);
  lblTitle = Named(new QLabel, "lblTitle");
  lblTitel2 = Named(new QLabel, "lblTitel2");
  lblVersion = Named(new QLabel, "lblVersion");
  lblVersion2 = Named(new QLabel, "lblVersion2");
  auto* top = new QHBoxLayout;
  top->addWidget(lblTitle);
  top->addStretch(1);
  top->addWidget(lblVersion, 0, Qt::AlignTop);
  v->addLayout(top);
  auto* sub = new QHBoxLayout;
  sub->addWidget(lblTitel2);
  sub->addStretch(1);
  sub->addWidget(lblVersion2);
  v->addLayout(sub);
  v->addStretch(1);
  auto* grid = new QGridLayout;
  lblUserID = Named(new QLabel, "lblUserID");
  lblCompanyID = Named(new QLabel, "lblCompanyID");
  lblUseCounter = Named(new QLabel, "lblUseCounter");
  grid->addWidget(new QLabel(QStringLiteral("Licensed to:")), 0, 0);
  grid->addWidget(lblUserID, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Organisation:")), 1, 0);
  grid->addWidget(lblCompanyID, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Started:")), 2, 0);
  grid->addWidget(lblUseCounter, 2, 1);
  grid->setColumnStretch(1, 1);
  v->addLayout(grid);
  ProgressBar1 = new QProgressBar;
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setMaximumHeight(10);
  v->addWidget(ProgressBar1);
}

void frmSplash::Form_Load() {
  const char* place = "Form_Load of Formular frmSplash";
  // Every statement resumes with the next one after a logged failure.
  Guarded(place, [&] {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->geometry();
      move((area.width() - width()) / 2, (area.height() - height()) / 2);
    }
  }, false);
  Guarded(place, [&] {
    lblUserID->setText(QString::fromStdString(ZVK_Identity::gUserName));
    lblCompanyID->setText(QString::fromStdString(ZVK_Identity::gCompanyName));
  }, false);
  Guarded(place, [&] {
    const std::string app = "ZVK\\" + ZVK_Identity::gAppName + "\\" + ZVK_Identity::gUserName;
    // Counted in 64 bits: the stored value may already be the largest 32-bit
    // one, and the counter then stays there with the overflow logged.
    const long long n = ZVK_Registry::GetRegSetting(app, "Settings", "UseCounter", int32_t{0}).AsLong() + 1LL;
    if (n > INT32_MAX) throw ZVK_ErrorLog::RuntimeError(ZVK_ErrorLog::kErrOverflow, "Overflow");
    ZVK_Registry::SaveRegSetting(app, "Settings", "UseCounter", n);
    lblUseCounter->setText(QString::number(n) + QStringLiteral(" times"));
  }, false);
  Guarded(place, [&] {
    const QString version = QString::fromStdString("v. " + ZVK_Version::VersionText());
    lblVersion->setText(version);
    lblVersion2->setText(version);
  }, false);
  Guarded(place, [&] {
    const QString title = QString::fromStdString(ZVK_ErrorLog::ApplicationTitle());
    lblTitle->setText(title);
    lblTitel2->setText(title);
  }, false);
  Guarded(place, [&] { WaitOutPeriod(); }, false);
  Castellan_Main::gSplashRunning = 0;
  platform::DoEventsNow();
}

void frmSplash::WaitOutPeriod() {
  show();
  // The period starts at the current second rounded to a whole number and ends
  // that many seconds later. It is measured on a steady clock from here, so a
  // splash started just before midnight still ends.
  const double now = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
  const double start = std::round(now);
  const auto remaining = std::chrono::duration<double>(start + gDurationSeconds - now);
  const auto deadline = std::chrono::steady_clock::now() +
                        std::chrono::duration_cast<std::chrono::steady_clock::duration>(remaining);
  platform::DoEventsNow();
  repaint();
  platform::DoEventsNow();
  while (std::chrono::steady_clock::now() < deadline) {
    platform::DoEvents();
    ProgressBar1->setValue(ProgressBar1->maximum());
    QThread::msleep(5);  // nothing to compute meanwhile: leave the processor to others
  }
}

}  // namespace app
