#include "app/frmGameMode.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/GameModes.h"
#include "app/fMainForm.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "support/ErrorGuard.h"

namespace app {

frmNewMode::frmNewMode(fMainForm* owner) : QDialog(owner) {
  SetUpDialog(this, QStringLiteral("frmNewMode"), QStringLiteral("   Change  Mode . . ."));

  auto* frame = new QFrame;
  frame->setObjectName(QStringLiteral("Frame1"));
  frame->setFrameShape(QFrame::StyledPanel);
  auto* fl = new QVBoxLayout(frame);
  lblGameMode = HeadingLabel(QStringLiteral("lblGameMode"), QStringLiteral("Game Mode"));
  fl->addWidget(lblGameMode);
  for (size_t i = 0; i < optMode.size(); ++i) {
    optMode[i] = new QRadioButton(QString::fromLatin1(kGameModes[i].caption));
    optMode[i]->setObjectName(QStringLiteral("optMode(%1)").arg(i));
    fl->addWidget(optMode[i]);
  }

  // The decoration: the White king from the main window's piece strip.
  picPiece = new PictureBox(this);
  picPiece->setObjectName(QStringLiteral("picPiece"));
  picPiece->setFixedSize(48, 48);
  if (auto it = owner->picPiece.find(15); it != owner->picPiece.end()) picPiece->setPicture(it->second->picture());

  cmdOK = new QPushButton(QStringLiteral("OK"));
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"));
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

  auto* top = new QHBoxLayout;
  top->addWidget(picPiece, 0, Qt::AlignTop);
  top->addWidget(frame, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);

  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmNewMode::Form_Load() {
  Guarded("form_load of Formular frmNewMode", [&] {
    for (size_t i = 0; i < optMode.size(); ++i)
      if (ZVK_Globals::gGameMode == kGameModes[i].word) optMode[i]->setChecked(true);
    platform::DoEvents();
    platform::DoEvents();
  });
}

void frmNewMode::cmdOK_Click() {
  Guarded("cmdOK_Click of Formular frmNewMode", [&] {
    for (size_t i = 0; i < optMode.size(); ++i)
      if (optMode[i]->isChecked()) ZVK_Globals::gGameMode = kGameModes[i].word;
  }, false);
  // Unloaded whatever happened above.
  accept();
  platform::DoEvents();
}

void frmNewMode::cmdCancel_Click() {
  Guarded("cmdCancel_Click of Formular frmNewMode", [&] {
    QDialog::reject();
    platform::DoEvents();
  });
}

void frmNewMode::reject() { cmdCancel_Click(); }

}  // namespace app
