#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

TEST_F(EngineTest, MirrorTurnsHalfRoundAndExchangesColours) {
  gVirtualBoard = StartBoard();
  ZVK_Board_Sub::MirrorBoard();
  // Kings on file 4, queens on file 5, the former White pieces positive on ranks 7 and 8.
  EXPECT_EQ(gVirtualBoard(4, 8), kKingPositive);
  EXPECT_EQ(gVirtualBoard(5, 8), kQueen);
  EXPECT_EQ(gVirtualBoard(4, 1), kKingNegative);
  EXPECT_EQ(gVirtualBoard(5, 1), -kQueen);
  for (int x = 1; x <= 8; ++x) {
    EXPECT_EQ(gVirtualBoard(x, 7), kPawn);
    EXPECT_EQ(gVirtualBoard(x, 2), -kPawn);
  }
  EXPECT_EQ(gVirtualBoard(0, 0), kOffBoard);
}

TEST_F(EngineTest, MirrorTwiceGivesThePositionBack) {
  const EngineBoard positions[] = {
      StartBoard(),
      Diagram({"r...k..r", "pp...ppp", "..n.....", "...Pp...", ".b..Q...", "..N.....", "PPP..PPP", "R...K..R"}),
      Diagram({"........", "......k.", "........", "....q...", "........", "..K.....", "P.......", "........"}),
  };
  for (const EngineBoard& position : positions) {
    gVirtualBoard = position;
    gVirtualBoard(-1, 3) = 7;  // the rings are not touched
    const EngineBoard before = gVirtualBoard;
    ZVK_Board_Sub::MirrorBoard();
    EXPECT_EQ(gVirtualBoard(-1, 3), 7);
    EXPECT_EQ(Valuer(gVirtualBoard) - 5000, -(Valuer(before) - 5000));  // material balance flips sign
    ZVK_Board_Sub::MirrorBoard();
    EXPECT_EQ(gVirtualBoard, before);
  }
}

TEST_F(EngineTest, BoardPrimitives) {
  EngineBoard source = StartBoard();
  source(10, 10) = 99;
  EngineBoard copy;
  CopyBoard(copy, source);
  EXPECT_EQ(copy, source);  // border included

  Movement_comp(copy, 5, 2, 5, 4);
  EXPECT_EQ(copy(5, 2), 0);
  EXPECT_EQ(copy(5, 4), -kPawn);

  gBlackKingX = 3;
  gBlackKingY = 4;
  calcular_rey(Diagram({"........", "........", "........", "........", "........", "........", "........", "......K."}));
  EXPECT_EQ(gBlackKingX, 3);  // no positive king: left as it was
  EXPECT_EQ(gBlackKingY, 4);
  EXPECT_EQ(gWhiteKingX, 7);
  EXPECT_EQ(gWhiteKingY, 1);

  gAttackMap.cells.fill(1);
  gVirtualBoard(1, 1) = 5;
  Reset_VirtualBoard();
  for (int32_t cell : gAttackMap.cells) ASSERT_EQ(cell, 0);
  EXPECT_EQ(gVirtualBoard(1, 1), 5);  // clears the attack map, not the position
}

TEST_F(EngineTest, InitialGameLeavesOneSliceOfTheStartPosition) {
  HumanMove("e2", "e4");
  HumanMove("e7", "e5");
  Initial_Game();
  EXPECT_EQ(gMoveNumber, 0);
  ASSERT_EQ(gGameLog.size(), 1u);
  EXPECT_EQ(gGameLog[0], StartBoard());
  EXPECT_EQ(window.sliderMax, 0);
  EXPECT_EQ(window.sliderValue, 0);
  EXPECT_EQ(window.lblPlay, "0");
}

// Which positions Log_Play turns back before storing them.
struct LogCase {
  const char* mode;
  int32_t playerColor;
  int32_t colorThatMoved;
  int32_t moveNumber;
  bool turnedBack;
};

TEST_F(EngineTest, LogPlayStoresEveryPositionWithWhiteNegative) {
  const LogCase cases[] = {
      {"OfflinePP", kWhite, kWhite, 2, false},
      {"OfflinePP", kWhite, kBlack, 3, true},    // a human Black move is checked mirrored
      {"OnlinePP", kBlack, kBlack, 5, true},
      {"OnlinePP", kBlack, kWhite, 4, false},
      {"OfflinePC", kBlack, kWhite, 4, true},    // human Black: both sides move mirrored
      {"OfflinePC", kBlack, kBlack, 5, true},
      {"OfflinePC", kWhite, kBlack, 5, false},
      {"OfflineCC", kWhite, kWhite, 6, true},    // the engine's White moves
      {"OfflineCC", kWhite, kBlack, 7, false},
      {"OfflineCC", kWhite, kWhite, 1, false},   // the first move is made by hand
      {"OfflinePC", kBlack, kWhite, 1, false},   // ... unless the engine made it (below)
      {"", kWhite, kBlack, 3, false},
  };
  const EngineBoard asymmetric =
      Diagram({"r...k..r", "pp...ppp", "..n.....", "...Pp...", ".b..Q...", "..N.....", "PPP..PPP", "R...K..R"});
  for (const LogCase& c : cases) {
    SCOPED_TRACE(std::string(c.mode) + " move " + std::to_string(c.moveNumber));
    ZVK_Globals::gGameMode = c.mode;
    ZVK_Globals::gPlayerColor = c.playerColor;
    ZVK_Globals::gColorToMove = c.colorThatMoved;
    gGameLog.assign(static_cast<size_t>(c.moveNumber), StartBoard());
    window.sliderMax = window.sliderValue = static_cast<int16_t>(c.moveNumber - 1);
    gMoveNumber = c.moveNumber;
    gVirtualBoard = asymmetric;
    Log_Play();
    ASSERT_EQ(gGameLog.size(), static_cast<size_t>(c.moveNumber) + 1);
    EXPECT_EQ(gGameLog.back(), c.turnedBack ? Mirrored(asymmetric) : asymmetric);
    // The slider's handler reloaded the stored position and passed the move on.
    EXPECT_EQ(gVirtualBoard, gGameLog.back());
    EXPECT_EQ(window.sliderMax, c.moveNumber);
    EXPECT_EQ(ZVK_Globals::gColorToMove, c.moveNumber % 2 == 0 ? kWhite : kBlack);
    EXPECT_EQ(window.lblPlay, std::to_string(c.moveNumber));
  }
}

TEST_F(EngineTest, EnginesFirstMoveAsWhiteIsStoredTurnedBack) {
  NewGame("OfflinePC", kBlack);
  EngineMove();  // the start-CPU-move command
  ASSERT_EQ(gMoveNumber, 1);
  const EngineBoard& stored = gGameLog[1];
  // White moved: ranks 7 and 8 untouched, one White piece left ranks 1-2.
  for (int x = 1; x <= 8; ++x) {
    EXPECT_EQ(stored(x, 8), gGameLog[0](x, 8));
    EXPECT_EQ(stored(x, 7), kPawn);
  }
  EXPECT_EQ(stored(5, 1), kKingNegative);
  EXPECT_EQ(Valuer(stored), 5000);
  EXPECT_EQ(ZVK_Globals::gColorToMove, kBlack);
  EXPECT_EQ(gVirtualBoard, stored);
}

TEST_F(EngineTest, MoveAfterNavigatingBackDropsTheLaterSlices) {
  NewGame("OfflinePP", kWhite);
  const char* moves[][2] = {{"e2", "e4"}, {"e7", "e5"}, {"g1", "f3"}, {"b8", "c6"}, {"f1", "c4"}};
  for (auto& m : moves) ASSERT_TRUE(HumanMove(m[0], m[1]));
  ASSERT_EQ(gGameLog.size(), 6u);
  window.SetHScroll1Value(2);  // the user drags the slider back
  EXPECT_EQ(gMoveNumber, 2);
  EXPECT_EQ(ZVK_Globals::gColorToMove, kWhite);
  EXPECT_EQ(gVirtualBoard, gGameLog[2]);
  ASSERT_TRUE(HumanMove("d2", "d4"));
  ASSERT_EQ(gGameLog.size(), 4u);
  EXPECT_EQ(gGameLog[3](4, 4), -kPawn);
  EXPECT_EQ(gGameLog[3](7, 1), -kKnight);  // the dropped Nf3 is gone
}

TEST_F(EngineTest, SliderValueWithoutSliceIsLoggedAfterTheMoveNumberChanged) {
  testsupport::ProgramTree tree;
  window.sliderMax = 5;
  window.SetHScroll1Value(3);  // the log holds only half-move 0
  EXPECT_EQ(gMoveNumber, 3);
  EXPECT_EQ(ZVK_Globals::gColorToMove, kBlack);
  EXPECT_EQ(gVirtualBoard, StartBoard());
  const std::string log = testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath());
  EXPECT_NE(log.find("HScroll1_Change of Formular fMainForm"), std::string::npos);
}

TEST_F(EngineTest, MoveNumberBeyondTheSliderRangeFailsAfterTheSliceIsWritten) {
  testsupport::ProgramTree tree;
  gMoveNumber = 40000;
  Log_Play();
  EXPECT_EQ(gGameLog.size(), 40001u);
  EXPECT_EQ(gGameLog.back(), gVirtualBoard);
  EXPECT_EQ(window.sliderMax, 0);
  const std::string log = testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath());
  EXPECT_NE(log.find("Log_Play of Modul ZVK_Engine"), std::string::npos);
  EXPECT_NE(log.find("Overflow"), std::string::npos);
}

}  // namespace
}  // namespace enginetest
