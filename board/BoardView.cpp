#include "board/BoardView.h"

#include <memory>

#include "board/ZVK_Board_Sub.h"
#include "platform/AppPath.h"

namespace ZVK_Board_Sub {

namespace {
BoardView* gInstalledView = nullptr;

const QImage& NoPicture() {
  static const QImage empty;
  return empty;
}
}  // namespace

void SetBoardView(BoardView* view) { gInstalledView = view; }

BoardView& TheBoardView() {
  if (gInstalledView != nullptr) return *gInstalledView;
  static std::unique_ptr<OwnedBoardView> standIn;
  if (!standIn) standIn = std::make_unique<OwnedBoardView>();
  return *standIn;
}

std::string PiecePictureFolder() { return platform::AppPath() + platform::kSep + "pieces"; }

std::string BoardPicturePath(const std::string& name) {
  return platform::AppPath() + platform::kSep + "board" + platform::kSep + name + ".JPG";
}

QImage LoadBoardPicture(const std::string& name) {
  QImage picture(QString::fromStdString(BoardPicturePath(name)));
  if (picture.isNull()) return picture;
  return picture.convertToFormat(QImage::Format_RGB32).scaled(kBoardPixels, kBoardPixels);
}

PiecePictures LoadPiecePictures(const std::string& folder) {
  PiecePictures pictures;
  const QString base = QString::fromStdString(folder) + QLatin1Char(platform::kSep);
  for (int index = 1; index <= 26; ++index) {
    const bool sprite = (index >= 1 && index <= 6) || (index >= 11 && index <= 16);
    const bool mask = index >= 21 && index <= 26;
    if (!sprite && !mask) continue;
    QImage image(base + QStringLiteral("picPiece_%1.png").arg(index));
    if (!image.isNull()) pictures.picPiece[static_cast<size_t>(index)] = image.convertToFormat(QImage::Format_RGB32);
  }
  for (int index = 0; index < 3; ++index) {
    QImage image(base + QStringLiteral("picEffector_%1.png").arg(index));
    if (!image.isNull()) pictures.picEffector[static_cast<size_t>(index)] = image.convertToFormat(QImage::Format_RGB32);
  }
  return pictures;
}

OwnedBoardView::OwnedBoardView()
    : frontBuffer(kBoardPixels, kBoardPixels, QImage::Format_RGB32),
      tempBuffer(kBoardPixels, kBoardPixels, QImage::Format_RGB32),
      pictures(LoadPiecePictures(PiecePictureFolder())) {
  frontBuffer.fill(Qt::white);
  tempBuffer.fill(Qt::white);
}

const QImage& OwnedBoardView::picPiece(int index) {
  if (index < 0 || index >= static_cast<int>(pictures.picPiece.size())) return NoPicture();
  return pictures.picPiece[static_cast<size_t>(index)];
}

const QImage& OwnedBoardView::picEffector(int index) {
  if (index < 0 || index >= static_cast<int>(pictures.picEffector.size())) return NoPicture();
  return pictures.picEffector[static_cast<size_t>(index)];
}

bool OwnedBoardView::Reset_Backgroud_BordPattern(QImage& target) {
  QImage picture = LoadBoardPicture(boardPictureName);
  if (picture.isNull()) return false;
  target = picture;
  return true;
}

void OwnedBoardView::SetCheckLabelVisible(CheckLabel label, bool visible) {
  (label == CheckLabel::lblwwCheck ? whiteCheckVisible : blackCheckVisible) = visible;
}

}  // namespace ZVK_Board_Sub
