#include "tests/engine/EngineTestKit.h"

namespace enginetest {
namespace {

TEST_F(EngineTest, CastlingCandidates) {
  // Each position with every file in `files` attacked in turn ('-': none): the castling added
  // (the king's and the rook's file; 0: none) unless a `guarded` file is attacked.
  const struct { const char* what; std::vector<std::string> rows; int kingX, rookX; std::string files, guarded; } cases[] = {
      {"both sides free: only the short one, an attack on its side stops both",
       {"r...k..r", "pppppppp", "........", "........", "........", "........", "........", "....K..."}, 7, 6, "-abcdefgh", "efgh"},
  };
  for (const auto& c : cases)
    for (const char attacked : c.files) {
      SCOPED_TRACE(std::string(c.what) + ", attacked: " + attacked);
      gVirtualBoard = Diagram(attacked == '-' ? c.rows : AttackFile(c.rows, attacked, true));
      const bool added = c.kingX != 0 && c.guarded.find(attacked) == std::string::npos;
      gCandCount = 0;
      ch_Castle();
      EXPECT_EQ(gCandCount, added ? 1 : 0);
      EXPECT_EQ(gCastled, added ? -1 : 0);
      if (added) {
        EXPECT_EQ(gCandBoards[1](c.kingX, 8), kKingPositive);
        EXPECT_EQ(gCandBoards[1](c.rookX, 8), kRook);
        EXPECT_EQ(Valuer(gCandBoards[1]), Valuer(gVirtualBoard));  // king and rook left their squares
      }
      EXPECT_EQ(gAttackMap, EngineBoard{});
    }
}

TEST_F(EngineTest, RepetitionVeto) {
  const EngineBoard a = Diagram({"....k...", "........", "........", "........", "........", "........", "........", "....K..."});
  // b: the engine's king one step aside; c: the opponent's king moved (only positive pieces are compared).
  const EngineBoard b = Diagram({"...k....", "........", "........", "........", "........", "........", "........", "....K..."});
  const EngineBoard c = Diagram({"....k...", "........", "........", "........", "........", "........", "........", "...K...."});
  // The logged positions m - 2, m - 3 and m - 6, the candidate, and the side the engine plays.
  const struct { const char* what; int32_t m; EngineBoard m2, m3, m6, candidate; int32_t colorToMove; int16_t veto; } cases[] = {
      {"back and forth, from half-move 10 on", 10, a, b, b, c, kBlack, -1},
      {"before half-move 10", 9, a, b, b, a, kBlack, 0},
      {"candidate differs from m-2", 12, a, b, b, b, kBlack, 0},
      {"m-3 differs from m-6", 12, a, b, a, a, kBlack, 0},
      // Playing White the log is compared mirrored: the engine's pieces are the negative ones there.
      {"as White, mirrored", 12, Mirrored(a), Mirrored(b), Mirrored(b), a, kWhite, -1},
      {"as White, unmirrored log does not match", 12, a, b, b, a, kWhite, 0},
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.what);
    gGameLog.assign(static_cast<size_t>(t.m) + 1, StartBoard());
    gGameLog[static_cast<size_t>(t.m - 2)] = t.m2;
    gGameLog[static_cast<size_t>(t.m - 3)] = t.m3;
    gGameLog[static_cast<size_t>(t.m - 6)] = t.m6;
    gMoveNumber = t.m;
    ZVK_Globals::gColorToMove = t.colorToMove;
    EXPECT_EQ(Check4RepMoves(t.candidate), t.veto);
  }
  // In a search the veto passes over the best-ordered move: the king's step back towards the other king.
  SetPosition(Diagram({"........", "...k....", "........", "........", "........", "........", "........", "....K..."}), 11);
  gGameLog[9] = Diagram({"........", "........", "....k...", "........", "........", "........", "........", "....K..."});
  SearchBestMove();
  EXPECT_EQ(gMoveNumber, 12);
  EXPECT_EQ(gVirtualBoard(5, 6), 0);
}

// A chosen move that leaves the king attacked falls back to the last safe king
// move; without one (or without any move at all) the engine gives up.
TEST_F(EngineTest, CommitFallsBackToAKingMoveOrGivesUp) {
  // pawn: the chosen move is this pawn's step, ignoring the check (0: a full search instead);
  // escape: where the king escapes to (0: the engine gives up).
  const struct { const char* what; std::vector<std::string> rows; int pawnX, pawnY, escapeX, escapeY; } cases[] = {
      {"the last safe king move in generation order", {"........", "p.......", "........", "....k...", "........", "........", "........", "....R..K"}, 1, 7, 6, 5},
      {"back-rank mate", {"R......k", "......pp", "........", "........", "........", "........", "........", "....K..."}, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window = FakeWindow{};
    const EngineBoard position = Diagram(c.rows);
    SetPosition(position, 13);
    ZVK_Globals::gGameStopped = 0;
    if (c.pawnX == 0) {
      SearchBestMove();
    } else {
      gBestBoard = position;
      gBestBoard(c.pawnX, c.pawnY - 1) = kPawn;
      gBestBoard(c.pawnX, c.pawnY) = 0;
      gMoveFound = 1;
      UpdateGame();
    }
    if (c.escapeX != 0) {
      ASSERT_EQ(gMoveNumber, 14);
      EXPECT_EQ(gVirtualBoard(c.escapeX, c.escapeY), kKingPositive);
      EXPECT_EQ(gVirtualBoard(c.pawnX, c.pawnY), kPawn);  // the chosen pawn move was dropped
      EXPECT_TRUE(window.events.empty());
      continue;
    }
    EXPECT_EQ(window.events, (std::vector<std::string>{"Computer Resigns  or  Check Mate|4096|Castellan Quarto",
                                                       "mnuNewGame 1", "mnuLoadGameStart 1", "tb(1) 1", "tb(2) 1"}));
    EXPECT_EQ(ZVK_Globals::gGameStopped, -1);
    EXPECT_EQ(gMoveNumber, 13);
    EXPECT_EQ(gVirtualBoard, position);
    EXPECT_EQ(gGameLog.size(), 14u);
  }
}

TEST_F(EngineTest, MoreThanTwoHundredCandidatesAreCountedLoggedAndNeverRead) {
  testsupport::ProgramTree tree;  // the 201st is logged
  // Twelve queens: far more than 200 pseudo-legal moves.
  SetPosition(Diagram({"q...q...", "..q....k", "....q..q", "......q.", ".q..q...", "...q....", "q....q.r", "K......q"}), 21);
  SearchBestMove();
  EXPECT_GT(window.progresoMax, 200);
  EXPECT_EQ(gMoveNumber, 22);
}

}  // namespace
}  // namespace enginetest
