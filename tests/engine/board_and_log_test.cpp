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
      {"OfflineCC", kWhite, kWhite, 6, true},    // the engine's White moves
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

}  // namespace
}  // namespace enginetest
