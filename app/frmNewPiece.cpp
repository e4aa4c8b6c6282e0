#include "app/frmNewPiece.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/fMainForm.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "support/ErrorGuard.h"

namespace app {

namespace {
// Picture offsets within a side: queen, rook, knight, bishop.
constexpr std::array<int, 4> kPictureOfChoice = {4, 1, 2, 3};
constexpr std::array<int32_t, 4> kCodeOfChoice = {ZVK_Engine::kQueen, ZVK_Engine::kRook, ZVK_Engine::kKnight,
                                                  ZVK_Engine::kBishop};
}  // namespace

frmNewPiece::frmNewPiece(fMainForm* owner) : QDialog(owner), owner_(owner) {
  SetUpDialog(this, QStringLiteral("frmNewPiece"), QStringLiteral("   New Piece . . ."));
  setMinimumWidth(240);
  auto* layout = new QVBoxLayout(this);
  lblPlayer2 = HeadingLabel(QStringLiteral("lblPlayer2"), QStringLiteral("Player 2"));
  lblNewPiece = new QLabel(QStringLiteral("Select Exchange Piece"));
  lblNewPiece->setObjectName(QStringLiteral("lblNewPiece"));
  layout->addWidget(lblPlayer2);
  layout->addWidget(lblNewPiece);

  auto* row = new QHBoxLayout;
  auto* frame = new QGroupBox(QStringLiteral("Game Mode"));
  auto* fl = new QVBoxLayout(frame);
  const char* captions[] = {"Queen", "Rook", "Knight", "Bishop"};
  for (int i = 0; i < 4; ++i) {
    optPiece[i] = new QRadioButton(QString::fromLatin1(captions[i]));
    optPiece[i]->setObjectName(QStringLiteral("optPiece(%1)").arg(i));
    fl->addWidget(optPiece[i]);
    connect(optPiece[i], &QRadioButton::clicked, this, [this, i] { optPiece_Click(i); });
  }
  optPiece[0]->setChecked(true);
  row->addWidget(frame);
  for (int i = 0; i < 3; ++i) {
    picPiece[i] = new PictureBox(this);
    picPiece[i]->setObjectName(QStringLiteral("picPiece(%1)").arg(i));
    picPiece[i]->setFixedSize(48, 48);
    picPiece[i]->setVisible(i == 2);
  }
  picPiece[2]->setBackColor(QColor(240, 217, 181));  // a light square, where either colour reads well
  row->addStretch(1);
  row->addWidget(picPiece[2], 0, Qt::AlignCenter);
  row->addStretch(1);
  layout->addLayout(row);

  cmdOK = new QPushButton(QStringLiteral("OK"));
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  layout->addWidget(cmdOK, 0, Qt::AlignRight);
  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  form_load();
}

int frmNewPiece::PromotingOffset() {
  const int toY = ZVK_Board_Sub::gToY;
  const bool black = (toY == 0 && ZVK_Globals::gBoardSide == -1) || (toY == 7 && ZVK_Globals::gBoardSide == 1);
  return black ? 0 : 10;
}

void frmNewPiece::ShowPreview(int picture) {
  auto it = owner_->picPiece.find(picture);
  if (it != owner_->picPiece.end()) picPiece[2]->setPicture(it->second->picture());
}

void frmNewPiece::form_load() {
  Guarded("form_load of Formular frmNewPiece", [&] { ShowPreview(PromotingOffset() + 4); });
}

void frmNewPiece::optPiece_Click(int index) {
  Guarded("optPiece_Click of Formular frmNewPiece", [&] {
    ShowPreview(PromotingOffset() + kPictureOfChoice.at(static_cast<size_t>(index)));
  });
}

void frmNewPiece::cmdOK_Click() {
  Guarded("cmdOK_Click of Formular frmNewPiece", [&] {
    written_ = true;
    int chosen = 0;
    for (int i = 0; i < 4; ++i)
      if (optPiece[i]->isChecked()) chosen = i;
    int32_t code = kCodeOfChoice[static_cast<size_t>(chosen)];
    if (PromotingOffset() == 10) code = -code;
    const int x = ZVK_Board_Sub::gToX, y = ZVK_Board_Sub::gToY;
    if (ZVK_Globals::gBoardSide == 1)
      ZVK_Engine::gVirtualBoard.at(x + 1, 8 - y) = code;
    else
      ZVK_Engine::gVirtualBoard.at(8 - x, y + 1) = code;
    accept();
  });
}

void frmNewPiece::reject() {
  // A dialog closed without OK still promotes; the close itself must
  // happen even when writing the piece failed, or the dialog could not be left.
  if (!written_) cmdOK_Click();
  if (isVisible()) QDialog::reject();
}

}  // namespace app
