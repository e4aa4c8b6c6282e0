// The composed board checked pixel by pixel: background, markers under the
// pieces, pieces through their masks, the picked marker over its piece, the
// check labels and the mate handling.
#include "platform/MessageBox.h"
#include "support/MainWindowLinks.h"
#include "tests/board/BoardFakes.h"  // also gtest, QImage and the board's headers

using namespace ZVK_Board_Sub;
using namespace boardtest;

namespace {

constexpr QRgb kBackground = FakeBoardView::kBackground;
constexpr int16_t kWith = ZVK_Globals::kTrue, kWithout = ZVK_Globals::kFalse;

// Pixels of square (c, r): one inside the piece's shape, one outside it.
QRgb Inside(const QImage& image, int c, int r) { return image.pixel(c * 48 + 20, r * 48 + 20); }
QRgb Outside(const QImage& image, int c, int r) { return image.pixel(c * 48 + 3, r * 48 + 40); }

class Drawing : public BoardTest {
 protected:
  void TearDown() override {
    BoardTest::TearDown();
    ZVK_MainWindow::SetVoiceBox(nullptr);
  }
  platform::ScriptedAnswerer answers_;
  FakeBoardView view_;
};

// The voice is on but no character is loaded: nothing is spoken, and the
// labels and the mate message still appear.
TEST_F(Drawing, AKingInCheckIsTintedUnderItsPieceAndAMateIsAnnounced) {
  struct Voice : ZVK_MainWindow::VoiceBox {
    int16_t chkEnableVoiceValue() const override { return 1; }
  } voice;
  ZVK_MainWindow::SetVoiceBox(&voice);
  const QRgb once = Blend(FakeBoardView::kDangerMarker, kBackground), twice = Blend(FakeBoardView::kDangerMarker, once);
  // e1 in check from e8 with a way out, drawn without checks and with checks
  // and the danger markers on too; a smothered mate on h8.
  const char* const check = "....r..k/......../......../......../......../......../......../R...K...";
  const char* const smothered = "......rk/.....Npp/......../......../......../......../......../....K...";
  const struct {
    const char* diagram;
    int16_t withChecks;
    bool danger;
    int kingC, kingR, king;
    QRgb besideKing;
    bool whiteLabel, blackLabel, mate;
  } rows[] = {
      {check, kWithout, true, 4, 7, 15, kBackground, false, false, false},
      {check, kWith, true, 4, 7, 15, twice, true, false, false},
      {smothered, kWith, false, 7, 0, 5, once, false, true, true},
  };
  for (const auto& row : rows) {
    answers_.Clear();
    view_.gameStartCommandsEnabled = 0;
    gViewBoard = Diagram(row.diagram);
    view_.dangerShow = row.danger;
    view_.whiteCheckVisible = view_.blackCheckVisible = true;  // every drawing starts by hiding both
    RenderBoard(row.withChecks);
    const QImage& shown = view_.picFrontBuffer();
    const std::string why = std::string(row.diagram) + (row.withChecks ? " with checks" : "") + (row.danger ? " danger" : "");
    EXPECT_EQ(Outside(shown, row.kingC, row.kingR), row.besideKing) << why;
    EXPECT_EQ(Inside(shown, row.kingC, row.kingR), SpriteColour(row.king)) << why << ": the king lies over the tint";
    EXPECT_EQ(Outside(shown, 0, 7), kBackground) << why << ": no danger marker beside the unattacked rook";
    EXPECT_EQ(view_.whiteCheckVisible, row.whiteLabel) << why;
    EXPECT_EQ(view_.blackCheckVisible, row.blackLabel) << why;
    EXPECT_EQ(view_.gameStartCommandsEnabled, row.mate ? 1 : 0) << why;
    EXPECT_EQ(gViewBoard, Diagram(row.diagram)) << why << ": the position is not changed";
    EXPECT_EQ(answers_.Calls().size(), row.mate ? 1u : 0u) << why;
  }
}

TEST_F(Drawing, APickedPieceShowsItsMovesAndHidesTheWarningsUntilPutDown) {
  gViewBoard = Diagram("....r..k/......../......../r......./......../......../......../R...K...");
  view_.dangerShow = view_.showPossibleMoves = view_.whiteCheckVisible = true;
  gPieceSelected = ZVK_Globals::kTrue;
  gFromX = 0, gFromY = 7;
  RenderBoard(kWith);
  const QImage& shown = view_.picFrontBuffer();
  const QRgb moveOnEmpty = Blend(FakeBoardView::kMoveMarker, kBackground);
  EXPECT_EQ(Inside(shown, 0, 4), moveOnEmpty) << "the rook may go up its file";
  EXPECT_EQ(Outside(shown, 4, 7), kBackground) << "no danger marker while a piece is picked";
  EXPECT_EQ(Inside(shown, 0, 7), Blend(FakeBoardView::kPickedMarker, SpriteColour(11)))
      << "the picked marker lies over its piece";
}

}  // namespace
