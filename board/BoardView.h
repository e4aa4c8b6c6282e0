#pragma once
// What the board drawing and animation need of the main window: the two
// board pictures, the piece strip, the marker pictures, the check labels, the
// option switches they read and the commands the mate handling enables.
//
// The main window implements BoardView and installs it with SetBoardView;
// until then (and in tests that install nothing) an OwnedBoardView with the
// staged pictures and default switches stands in, so drawing never fails for
// want of a window.
#include <QImage>
#include <array>
#include <string>

namespace ZVK_Board_Sub {

enum class CheckLabel { lblwwCheck, lblbbCheck };

class BoardView {
 public:
  virtual ~BoardView() = default;

  // The visible board picture; the window shows its image on RefreshFrontBuffer.
  virtual QImage& picFrontBuffer() = 0;
  virtual void RefreshFrontBuffer() = 0;
  // The back buffer the board is composed in (384 x 384).
  virtual QImage& picFrontTempBuffer() = 0;
  // Mouse input on the board picture.
  virtual void SetFrontBufferEnabled(bool enabled) = 0;

  // Sprites 1..6 and 11..16, masks 21..26 (48 x 48); an empty image elsewhere.
  virtual const QImage& picPiece(int index) = 0;
  // Markers 0 picked square, 1 attacked piece, 2 possible move.
  virtual const QImage& picEffector(int index) = 0;

  // Loads the chosen board picture into target; false (target unchanged)
  // when it cannot be read.
  virtual bool Reset_Backgroud_BordPattern(QImage& target) = 0;

  virtual void SetCheckLabelVisible(CheckLabel label, bool visible) = 0;

  // Option switches (the voice box is read through ZVK_MainWindow::GetVoiceBox).
  virtual bool mnuShowPossibleMovesChecked() = 0;
  virtual bool mnuDangerShowChecked() = 0;
  virtual int chkMoveAnimationValue() = 0;
  virtual std::string lstMoveIncrementationText() = 0;  // the selected entry, "" when none
  virtual int HScrollAnimationSpeedValue() = 0;

  // After a mate: enable mnuNewGame, mnuLoadGameStart and toolbar buttons 1 and 2.
  virtual void EnableGameStartCommands() = 0;
};

// The installed view; nullptr puts the stand-in back.
void SetBoardView(BoardView* view);
BoardView& TheBoardView();

// The piece strip and markers as stored in the program folder's "pieces"
// folder; pictures that cannot be read stay empty.
struct PiecePictures {
  std::array<QImage, 27> picPiece;
  std::array<QImage, 3> picEffector;
};
PiecePictures LoadPiecePictures(const std::string& folder);
// <program folder>/pieces
std::string PiecePictureFolder();
// <program folder>/board/<name>.JPG
std::string BoardPicturePath(const std::string& name);
// The named board picture at the board's size; a null image when it cannot be read.
QImage LoadBoardPicture(const std::string& name);

// A view that owns its images: the stand-in before the main window exists and
// the base of the tests' fakes. Its switches are public members.
class OwnedBoardView : public BoardView {
 public:
  OwnedBoardView();  // loads the staged piece pictures and the first board picture name "Classic"

  QImage frontBuffer;
  QImage tempBuffer;
  PiecePictures pictures;
  std::string boardPictureName = "Classic";
  bool frontEnabled = true;
  bool whiteCheckVisible = false;
  bool blackCheckVisible = false;
  bool showPossibleMoves = false;
  bool dangerShow = false;
  int moveAnimation = 0;
  std::string moveIncrementation = "8";
  int animationSpeed = 100;
  int refreshCount = 0;
  int gameStartCommandsEnabled = 0;

  QImage& picFrontBuffer() override { return frontBuffer; }
  void RefreshFrontBuffer() override { ++refreshCount; }
  QImage& picFrontTempBuffer() override { return tempBuffer; }
  void SetFrontBufferEnabled(bool enabled) override { frontEnabled = enabled; }
  const QImage& picPiece(int index) override;
  const QImage& picEffector(int index) override;
  bool Reset_Backgroud_BordPattern(QImage& target) override;
  void SetCheckLabelVisible(CheckLabel label, bool visible) override;
  bool mnuShowPossibleMovesChecked() override { return showPossibleMoves; }
  bool mnuDangerShowChecked() override { return dangerShow; }
  int chkMoveAnimationValue() override { return moveAnimation; }
  std::string lstMoveIncrementationText() override { return moveIncrementation; }
  int HScrollAnimationSpeedValue() override { return animationSpeed; }
  void EnableGameStartCommands() override { ++gameStartCommandsEnabled; }
};

}  // namespace ZVK_Board_Sub
