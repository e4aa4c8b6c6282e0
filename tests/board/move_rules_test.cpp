// The move rules on the displayed board: shapes, paths, pawns by board
// orientation, castling, king safety and the mate test.
#include <vector>

#include "tests/board/BoardFakes.h"  // also gtest and the board's headers

using namespace ZVK_Board_Sub;
using namespace boardtest;

namespace {

using MoveRules = BoardTest;

// side 0: the position's orientation.
struct Move { int fromX, fromY, toX, toY; bool allowed; const char* why; bool kingSafety = true; int16_t side = 0; };
struct Position { int16_t side; const char* diagram; std::vector<Move> moves; };

// Every move is judged on a fresh copy of its position, which it must leave as it was.
void ExpectMoves(const std::vector<Position>& positions) {
  for (const Position& p : positions) {
    const ViewBoard board = Diagram(p.diagram);
    for (const Move& m : p.moves) {
      gViewBoard = board;
      ZVK_Globals::gBoardSide = m.side != 0 ? m.side : p.side;
      EXPECT_EQ(MoveAlright(m.fromX, m.fromY, m.toX, m.toY, Flag(m.kingSafety)), Flag(m.allowed))
          << m.why << ": (" << m.fromX << "," << m.fromY << ") -> (" << m.toX << "," << m.toY << ")";
      EXPECT_EQ(gViewBoard, board) << m.why << ": the board must be left as it was";
    }
  }
}

TEST_F(MoveRules, PiecesMoveByTheirShapeAndPath) {
  ExpectMoves({{1, "r...k.../p......./P......./..p..b../....n.../..p....Q/...P..../R.B.K...", {
      {0, 7, 0, 2, false, "rook onto an own piece"},
      {0, 7, 3, 7, false, "rook through the own bishop"},
      {2, 7, 4, 5, false, "bishop through an own pawn"},
      {7, 5, 5, 3, true, "queen takes on the diagonal"},
      {4, 7, 5, 7, true, "king one step"},
      {-1, 7, 0, 6, false, "from left of the board"},
  }}});
}

TEST_F(MoveRules, PawnsMoveTowardsTheOtherSideInBothOrientations) {
  ExpectMoves({
      {1, "....k.../...p.p../.....N../p......./P......./....n.../...PP.../....K...", {
           {3, 6, 3, 5, true, "White single step"},
           {3, 6, 3, 4, true, "White double step from its start row"},
           {0, 4, 0, 3, false, "White straight onto an enemy pawn"},
           {3, 1, 3, 3, true, "Black double step"},
           {4, 6, 4, 4, false, "White jumps over a piece"},
       }},
      // Turned board: White stands at the top and moves down.
      {-1, "...K..../...PP.../..n...../....N.../......../......../....p.../...k....", {
           {3, 1, 3, 3, true, "White double step down"},
           {3, 1, 2, 2, true, "White takes down the diagonal"},
           {4, 6, 4, 4, true, "Black double step up"},
           {3, 1, 3, 2, false, "the same White step read upright goes backwards", true, 1},
       }},
  });
}

TEST_F(MoveRules, CastlingShapesInBothOrientations) {
  ExpectMoves({
      {1, "r...k..r/......../......../......../......../......../......../R...K..R", {
           {4, 7, 6, 7, true, "White king side"},
           {4, 7, 2, 7, true, "White queen side"},
           {4, 7, 6, 7, false, "the upright shape on a turned board", true, -1},
       }},
      {1, "rn..k.../......../......../......../......../......../......../R..QK..R", {
           {4, 0, 2, 0, false, "queen side needs the b-file square empty"},
       }},
      // Turned board: the White king stands on (3, 0); king side is to the left.
      {-1, "R..K...R/......../......../......../......../......../......../r..k..nr", {
           {3, 0, 1, 0, true, "White king side on a turned board"},
           {3, 0, 1, 0, false, "the turned shape read upright", true, 1},
           {3, 7, 5, 7, false, "turned queen side needs (6, 7) empty"},
       }},
  });
}

// Only a king's destination is tested, with the king still on its own square;
// check and the passed square are the engine's business.
TEST_F(MoveRules, KingSafetyPutsTheKingOnItsTarget) {
  ExpectMoves({
      {1, "....r.../......../......../......../.......b/....K.../...p.p../........", {
           {4, 5, 5, 6, false, "the defended pawn"},
           {4, 5, 4, 6, true, "retreat along the checking line (own square still blocks)"},
       }},
      {1, "....k.../......../....r.r./......../......../......../......../R...K..R", {
           {4, 7, 6, 7, false, "castling onto an attacked square"},
           {4, 7, 6, 7, true, "castling onto an attacked square, no safety test", false},
           {4, 7, 2, 7, true, "a king in check may still castle by shape"},
       }},
  });
}

TEST_F(MoveRules, MateIsFoundForBothColoursAndOnlyWhenNoMoveHelps) {
  const struct { const char* name; int16_t side; const char* colour; bool mated; const char* diagram; } cases[] = {
      {"fool's mate", 1, "White", true, "rnb.kbnr/pppp.ppp/......../....p.../......Pq/.....P../PPPPP..P/RNBQKBNR"},
      {"the queen undefended: the king takes it", 1, "Black", false, "r.bqkb.r/pppp.Qpp/..n..n../....p.../....P.../......../PPPP.PPP/RNB.K.NR"},
      {"back-rank mate on a turned board", -1, "White", true, ".K.....r/PPP...../......../......../......../......../......../......k."},
      {"back rank: the king steps out", -1, "White", false, ".K.....r/PP....../......../......../......../......../......../......k."},
      {"a pinned bishop cannot block", 1, "White", true, "....rr../......../.......b/......../......../......../......../r..BK..."},
      {"castling is no way out of check", 1, "White", true, "....r..k/......../b......./......../......../..n...../...P.P../....K..R"},
      {"stalemate is no mate", 1, "Black", false, ".......k/......../......Q./......../......../......../......../....K..."},
  };
  for (const auto& m : cases) {
    const ViewBoard board = Diagram(m.diagram);
    gViewBoard = board;
    ZVK_Globals::gBoardSide = m.side;
    EXPECT_EQ(IsKingMated(m.colour), Flag(m.mated)) << m.name;
    EXPECT_EQ(gViewBoard, board) << m.name << ": the mate test must not change the board";
  }
}

}  // namespace
