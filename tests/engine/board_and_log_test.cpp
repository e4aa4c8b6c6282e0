#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

const EngineBoard kAsymmetric =
    Diagram({"r...k..r", "pp...ppp", "..n.....", "...Pp...", ".b..Q...", "..N.....", "PPP..PPP", "R...K..R"});

TEST_F(EngineTest, LogPlayStoresEveryPositionWithWhiteNegative) {
  // Turning the board is a half turn, not a reflection: kings on file 4, queens on file 5.
  EXPECT_EQ(Mirrored(StartBoard()),
            Diagram({"rnbkqbnr", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "RNBKQBNR"}));
  const struct { const char* mode; int32_t playerColor, colorThatMoved, moveNumber; bool turnedBack; } cases[] = {
      {"OfflinePP", kWhite, kWhite, 2, false},
      {"OfflinePP", kWhite, kBlack, 3, true},    // a human Black move is checked mirrored
      {"OnlinePP", kBlack, kBlack, 5, true},
      {"OfflinePC", kBlack, kWhite, 4, true},    // human Black: both sides move mirrored
      {"OfflinePC", kWhite, kBlack, 5, false},
      {"OfflineCC", kWhite, kWhite, 6, true},    // the engine's White moves
      {"OfflineCC", kWhite, kBlack, 7, false},
      {"OfflineCC", kWhite, kWhite, 1, false},   // the first move is made by hand
      {"OfflinePC", kBlack, kWhite, 1, false},   // ... unless the engine made it (whole-game tests)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " move " + std::to_string(c.moveNumber));
    ZVK_Globals::gGameMode = c.mode;
    ZVK_Globals::gPlayerColor = c.playerColor;
    ZVK_Globals::gColorToMove = c.colorThatMoved;
    gGameLog.assign(static_cast<size_t>(c.moveNumber), StartBoard());
    window.sliderMax = window.sliderValue = static_cast<int16_t>(c.moveNumber - 1);
    gMoveNumber = c.moveNumber;
    gVirtualBoard = kAsymmetric;
    Log_Play();
    ASSERT_EQ(gGameLog.size(), static_cast<size_t>(c.moveNumber) + 1);
    EXPECT_EQ(gGameLog.back(), c.turnedBack ? Mirrored(kAsymmetric) : kAsymmetric);
    // The slider's handler reloaded the stored position and passed the move on.
    EXPECT_EQ(gVirtualBoard, gGameLog.back());
    EXPECT_EQ(window.sliderMax, c.moveNumber);
    EXPECT_EQ(ZVK_Globals::gColorToMove, c.moveNumber % 2 == 0 ? kWhite : kBlack);
    EXPECT_EQ(window.lblPlay, std::to_string(c.moveNumber));
  }
}

TEST_F(EngineTest, SliderAndLogFailuresAreLoggedAfterTheStepsBeforeThem) {
  testsupport::ProgramTree tree;
  window.sliderMax = 5;
  window.SetHScroll1Value(3);  // the log holds only half-move 0
  EXPECT_EQ(gMoveNumber, 3);
  EXPECT_EQ(ZVK_Globals::gColorToMove, kBlack);
  EXPECT_EQ(gVirtualBoard, StartBoard());
  EXPECT_NE(ErrorLogText().find("HScroll1_Change of Formular fMainForm"), std::string::npos);

  // A move number beyond the slider's 16-bit range fails after the slice is written.
  gMoveNumber = 40000;
  Log_Play();
  EXPECT_EQ(gGameLog.size(), 40001u);
  EXPECT_EQ(gGameLog.back(), gVirtualBoard);
  EXPECT_EQ(window.sliderMax, 5);
  EXPECT_NE(ErrorLogText().find("Log_Play of Modul ZVK_Engine"), std::string::npos);
  EXPECT_NE(ErrorLogText().find("Overflow"), std::string::npos);
}

}  // namespace
}  // namespace enginetest
