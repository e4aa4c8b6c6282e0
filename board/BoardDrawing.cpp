#include "board/BoardDrawing.h"

#include <QPainter>

#include "board/BoardView.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"
#include "support/MainWindowLinks.h"
#include "support/ZVK_MSAgent.h"
#include "support/ZVK_WindowHelpers.h"

namespace ZVK_Board_Sub {

namespace {

// The bare board picture the back buffer starts from. A picture that cannot
// be read leaves the last good one in place.
QImage gBackground;

const char* const kMateTitle = "Castellan Quarto";

void RasterBlit(QImage& target, const QImage& source, int x, int y, QPainter::CompositionMode mode) {
  if (source.isNull()) return;
  QPainter painter(&target);
  painter.setCompositionMode(mode);
  painter.drawImage(x, y, source, 0, 0, kSquarePixels, kSquarePixels);
}

// Speaks a warning through the assistant character and sends it away again
// at once; nothing happens when no character is loaded or the voice is off.
void SpeakWarning(const std::string& text) {
  const ZVK_MainWindow::VoiceBox* voice = ZVK_MainWindow::GetVoiceBox();
  if (voice == nullptr || voice->chkEnableVoiceValue() != 1) return;
  if (ZVK_MSAgent::MyAgentSpeakText(text, ZVK_PlaySoundFile::gHasSound) == 0) return;
  if (platform::AssistantCharacter* character = ZVK_MSAgent::gAgentChar()) character->Hide(true);
}

void MateSteps(BoardView& view) {
  SpeakWarning("Check Mate");
  platform::MsgBox("Check Mate !", 4112, kMateTitle);
  view.EnableGameStartCommands();
}

void StartFromBackground(BoardView& view, QImage& back) {
  view.Reset_Backgroud_BordPattern(gBackground);
  back = QImage(kBoardPixels, kBoardPixels, QImage::Format_RGB32);
  back.fill(Qt::white);
  if (!gBackground.isNull()) {
    QPainter painter(&back);
    painter.drawImage(0, 0, gBackground);
  }
}

}  // namespace

void BlendMarker(QImage& target, const QImage& marker, int x, int y) {
  if (marker.isNull() || target.isNull()) return;
  const QImage source = marker.format() == QImage::Format_RGB32 ? marker : marker.convertToFormat(QImage::Format_RGB32);
  if (target.format() != QImage::Format_RGB32) target = target.convertToFormat(QImage::Format_RGB32);
  const int width = std::min(kSquarePixels, source.width());
  const int height = std::min(kSquarePixels, source.height());
  auto mix = [](int s, int d) { return (s * kMarkerAlpha + d * (255 - kMarkerAlpha) + 127) / 255; };
  for (int dy = 0; dy < height; ++dy) {
    const int ty = y + dy;
    if (ty < 0 || ty >= target.height()) continue;
    const QRgb* src = reinterpret_cast<const QRgb*>(source.constScanLine(dy));
    QRgb* dst = reinterpret_cast<QRgb*>(target.scanLine(ty));
    for (int dx = 0; dx < width; ++dx) {
      const int tx = x + dx;
      if (tx < 0 || tx >= target.width()) continue;
      const QRgb s = src[dx], d = dst[tx];
      dst[tx] = qRgb(mix(qRed(s), qRed(d)), mix(qGreen(s), qGreen(d)), mix(qBlue(s), qBlue(d)));
    }
  }
}

void DrawPiece(QImage& target, BoardView& view, int picture, int x, int y) {
  if (picture <= 0) return;
  RasterBlit(target, view.picPiece(MaskNumber(picture)), x, y, QPainter::RasterOp_NotSourceOrDestination);
  RasterBlit(target, view.picPiece(picture), x, y, QPainter::RasterOp_SourceAndDestination);
}

void RenderBoard(int16_t withChecks) {
  Guarded("RenderBoard of Modul ZVK_Board_Sub", [&] {
    BoardView& view = TheBoardView();
    view.SetCheckLabelVisible(CheckLabel::lblbbCheck, false);
    view.SetCheckLabelVisible(CheckLabel::lblwwCheck, false);

    QImage& back = view.picFrontTempBuffer();
    StartFromBackground(view, back);

    const bool picked = gPieceSelected != 0;
    for (int c = 0; c < 8; ++c) {
      for (int r = 0; r < 8; ++r) {
        const int x = c * kSquarePixels, y = r * kSquarePixels;
        if (view.mnuShowPossibleMovesChecked() && picked && MoveAlright(gFromX, gFromY, c, r, ZVK_Globals::kTrue) != 0)
          BlendMarker(back, view.picEffector(2), x, y);

        const int p = gViewBoard(c, r);
        if (p == kEmpty) continue;

        if (withChecks != 0 && !picked) {
          const bool attacked = CheckPosition(c, r, 0) != 0;
          if (view.mnuDangerShowChecked() && attacked) BlendMarker(back, view.picEffector(1), x, y);
          if (attacked && (p == kWhiteKing || p == kBlackKing)) {
            // An attacked king is tinted whether or not the danger markers are on.
            BlendMarker(back, view.picEffector(1), x, y);
            const bool white = p == kWhiteKing;
            view.SetCheckLabelVisible(white ? CheckLabel::lblwwCheck : CheckLabel::lblbbCheck, true);
            SpeakWarning(white ? "White king in check" : "Black king in check");
            if (IsKingMated(white ? "White" : "Black") != 0) MateSteps(view);
          }
        }

        DrawPiece(back, view, p, x, y);
        if (picked && c == gFromX && r == gFromY) BlendMarker(back, view.picEffector(0), x, y);
      }
    }

    view.picFrontBuffer() = back;
    view.RefreshFrontBuffer();
    platform::DoEvents();
  });
}

}  // namespace ZVK_Board_Sub
