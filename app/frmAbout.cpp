#include "app/frmAbout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Controls.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_Internet.h"
#include "support/ZVK_Version.h"
#include "support/ZVK_WindowHelpers.h"

namespace app {

frmAbout::frmAbout(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About Castellan"));
  setModal(true);
  setStyleSheet(QStringLiteral(
      "QDialog#frmAbout { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #1c2f4a, stop:1 #0b1626); }"
      "QLabel { color: #e8e2d0; }"
      "QLabel#lblTitle { font-size: 26px; font-weight: bold; color: #f2d27a; }"
      "QLabel#lblHomepage { color: #9fc8ff; text-decoration: underline; }"));
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(24, 20, 24, 16);
  auto* top = new QHBoxLayout;
  auto* knight = new QLabel(QString::fromUtf8("\u265E"));
  QFont big = knight->font();
  big.setPointSize(40);
  knight->setFont(big);
  top->addWidget(knight);
  auto* titles = new QVBoxLayout;
  auto* title = new QLabel(QStringLiteral("Castellan"));
  title->setObjectName(QStringLiteral("lblTitle"));
  lblVersion = new QLabel;
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  titles->addWidget(title);
  titles->addWidget(lblVersion);
  top->addLayout(titles, 1);
  v->addLayout(top);
  v->addWidget(new QLabel(QStringLiteral(
      "A chess program: a drawn board, a built-in engine,\n"
      "two players at one PC, the engine against itself and\n"
      "correspondence games with a partner on another PC.")));
  lblHomepage = new QLabel(QStringLiteral("z.v.k Homepage"));
  lblHomepage->setObjectName(QStringLiteral("lblHomepage"));
  OnLabelClick(lblHomepage, [this] { lblHomepage_Click(); });
  v->addWidget(lblHomepage);
  cmdCancel = new QPushButton(QStringLiteral("OK"));
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
  cmdCancel->setDefault(true);
  v->addWidget(cmdCancel, 0, Qt::AlignRight);
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
  form_load();
}

void frmAbout::form_load() {
  Guarded("form_load of Formular frmAbout", [&] {
    lblVersion->setText(QString::fromStdString("Version " + ZVK_Version::VersionText()));
    platform::DoEvents();
  });
}

void frmAbout::cmdCancel_Click() {
  Guarded("cmdCancel_Click of Formular frmAbout", [&] {
    accept();
    platform::DoEvents();
  });
}

void frmAbout::lblHomepage_Click() {
  Guarded("lblHomepage_Click of Formular frmAbout", [&] {
    // The maker's home page: the first address of the installed URL list.
    ZVK_API_Shell::ShellOpen(ZVK_Internet::gUrlHome);
    platform::DoEvents();
  });
}

}  // namespace app
