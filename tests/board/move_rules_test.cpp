// The move rules on the displayed board: shapes, paths, pawns by board
// orientation, castling, king safety, the attack test and the mate test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"
#include "tests/board/BoardDiagram.h"
#include "tests/main/TestSupport.h"

using namespace ZVK_Board_Sub;
using boardtest::Diagram;

namespace {

using Rows = const char* const[8];

class MoveRules : public ::testing::Test {
 protected:
  void SetUp() override { boardtest::ResetBoardState(); }
  void TearDown() override { boardtest::ResetBoardState(); }
  testsupport::ProgramTree tree_;
};

struct MoveCase {
  int16_t side;
  int fromX, fromY, toX, toY;
  bool kingSafety;
  bool allowed;
  const char* why;
};

void ExpectMoves(const ViewBoard& board, const std::vector<MoveCase>& cases) {
  for (const MoveCase& m : cases) {
    gViewBoard = board;
    ZVK_Globals::gBoardSide = m.side;
    const int16_t safety = m.kingSafety ? ZVK_Globals::kTrue : ZVK_Globals::kFalse;
    const int16_t result = MoveAlright(m.fromX, m.fromY, m.toX, m.toY, safety);
    EXPECT_EQ(result, m.allowed ? ZVK_Globals::kTrue : ZVK_Globals::kFalse)
        << m.why << ": (" << m.fromX << "," << m.fromY << ") -> (" << m.toX << "," << m.toY << ") side "
        << m.side;
    EXPECT_EQ(gViewBoard, board) << m.why << ": the board must be left as it was";
  }
}

TEST_F(MoveRules, PiecesMoveByTheirShapeAndPath) {
  const Rows rows = {"r...k...",  //
                     "p.......",  //
                     "P.......",  //
                     "..p..b..",  //
                     "....n...",  //
                     ".......Q",  //
                     "...P....",  //
                     "R.B.K..."};
  ExpectMoves(Diagram(rows), {
      {1, 0, 7, 1, 7, true, true, "rook along its row"},
      {1, 0, 7, 0, 3, true, true, "rook up its column"},
      {1, 0, 7, 0, 2, true, false, "rook onto an own piece"},
      {1, 0, 7, 0, 1, true, false, "rook through an own piece"},
      {1, 0, 7, 3, 7, true, false, "rook through the own bishop"},
      {1, 0, 7, 1, 6, true, false, "rook on a diagonal"},
      {1, 2, 7, 0, 5, true, true, "bishop on a free diagonal"},
      {1, 2, 7, 4, 5, true, false, "bishop through an own pawn"},
      {1, 2, 7, 2, 5, true, false, "bishop straight"},
      {1, 7, 5, 5, 3, true, true, "queen takes on the diagonal"},
      {1, 7, 5, 4, 2, true, false, "queen through a piece it could take"},
      {1, 7, 5, 4, 5, true, true, "queen along the row"},
      {1, 7, 5, 6, 3, true, false, "queen in a knight's shape"},
      {1, 4, 4, 3, 6, true, true, "knight takes"},
      {1, 4, 4, 5, 6, true, true, "knight onto an empty square"},
      {1, 4, 4, 2, 3, true, false, "knight onto an own piece"},
      {1, 4, 4, 4, 6, true, false, "knight straight"},
      {1, 4, 7, 5, 7, true, true, "king one step"},
      {1, 4, 7, 5, 6, true, false, "king onto a square the knight covers"},
      {1, 4, 7, 4, 5, true, false, "king two rows"},
      {1, 3, 3, 3, 3, true, false, "a move onto its own square"},
      {1, 2, 2, 2, 3, true, false, "nothing to move"},
  });
}

TEST_F(MoveRules, PawnsMoveTowardsTheOtherSideInBothOrientations) {
  const Rows upright = {"....k...",  //
                        "...p....",  //
                        "........",  //
                        "p.......",  //
                        "P...n...",  //
                        ".....N..",  //
                        "...PP...",  //
                        "....K..."};
  ExpectMoves(Diagram(upright), {
      {1, 3, 6, 3, 5, true, true, "White single step"},
      {1, 3, 6, 3, 4, true, true, "White double step from its start row"},
      {1, 4, 6, 4, 4, true, false, "White double step onto a piece"},
      {1, 4, 6, 4, 5, true, true, "White step next to a piece"},
      {1, 3, 6, 2, 5, true, false, "White diagonal onto an empty square"},
      {1, 3, 6, 3, 7, true, false, "White backwards"},
      {1, 0, 4, 0, 3, true, false, "White straight onto an enemy pawn"},
      {1, 0, 4, 0, 2, true, false, "White double step away from its start row"},
      {1, 3, 1, 3, 3, true, true, "Black double step"},
      {1, 3, 1, 3, 2, true, true, "Black single step"},
      {1, 3, 1, 3, 0, true, false, "Black backwards"},
      {1, 0, 3, 0, 4, true, false, "Black straight onto an enemy pawn"},
      {1, 4, 4, 5, 5, true, false, "a knight is no pawn"},
  });
  const Rows blocked = {"....k...",  //
                        "...p....",  //
                        "...N....",  //
                        "........",  //
                        "........",  //
                        "...n....",  //
                        "...P....",  //
                        "....K..."};
  ExpectMoves(Diagram(blocked), {
      {1, 3, 6, 3, 4, true, false, "White jumps over a piece"},
      {1, 3, 1, 3, 3, true, false, "Black jumps over a piece"},
  });
  // Turned board: White stands at the top and moves down.
  const Rows turned = {"...K....",  //
                       "...PP...",  //
                       "..n.....",  //
                       "....N...",  //
                       "........",  //
                       "........",  //
                       "....p...",  //
                       "...k...."};
  ExpectMoves(Diagram(turned), {
      {-1, 3, 1, 3, 2, true, true, "White single step down"},
      {-1, 3, 1, 3, 3, true, true, "White double step down"},
      {-1, 3, 1, 2, 2, true, true, "White takes down the diagonal"},
      {-1, 4, 1, 4, 3, true, false, "White double step onto a piece"},
      {-1, 4, 1, 4, 0, true, false, "White up onto its own king"},
      {-1, 3, 1, 3, 0, true, false, "White backwards"},
      {-1, 4, 6, 4, 5, true, true, "Black single step up"},
      {-1, 4, 6, 4, 4, true, true, "Black double step up"},
      {-1, 4, 6, 4, 7, true, false, "Black backwards"},
      {1, 3, 1, 3, 2, true, false, "the same White step read upright goes backwards"},
  });
}

TEST_F(MoveRules, CastlingShapesInBothOrientations) {
  const Rows upright = {"r...k..r",  //
                        "........",  //
                        "........",  //
                        "........",  //
                        "........",  //
                        "........",  //
                        "........",  //
                        "R...K..R"};
  ExpectMoves(Diagram(upright), {
      {1, 4, 7, 6, 7, true, true, "White king side"},
      {1, 4, 7, 2, 7, true, true, "White queen side"},
      {1, 4, 0, 6, 0, true, true, "Black king side"},
      {1, 4, 0, 2, 0, true, true, "Black queen side"},
      {1, 4, 7, 7, 7, true, false, "onto the own rook"},
      {1, 4, 7, 5, 7, true, true, "an ordinary step"},
      {-1, 4, 7, 6, 7, true, false, "the upright shape on a turned board"},
  });
  const Rows queenSideKnight = {"....k...",  //
                                "........",  //
                                "........",  //
                                "........",  //
                                "........",  //
                                "........",  //
                                "........",  //
                                "RN..K.BR"};
  ExpectMoves(Diagram(queenSideKnight), {
      {1, 4, 7, 2, 7, true, false, "queen side needs the b-file square empty"},
      {1, 4, 7, 6, 7, true, false, "king side onto a piece"},
  });
  // Turned board: the White king stands on (3, 0); king side is to the left.
  const Rows turned = {"R..K...R",  //
                       "........",  //
                       "........",  //
                       "........",  //
                       "........",  //
                       "........",  //
                       "........",  //
                       "r..k...r"};
  ExpectMoves(Diagram(turned), {
      {-1, 3, 0, 1, 0, true, true, "White king side on a turned board"},
      {-1, 3, 0, 5, 0, true, true, "White queen side on a turned board"},
      {-1, 3, 7, 1, 7, true, true, "Black king side on a turned board"},
      {-1, 3, 7, 5, 7, true, true, "Black queen side on a turned board"},
      {1, 3, 0, 1, 0, true, false, "the turned shape read upright"},
  });
  const Rows turnedBlocked = {"R..K..NR",  //
                              "........",  //
                              "........",  //
                              "........",  //
                              "........",  //
                              "........",  //
                              "........",  //
                              "...k...."};
  ExpectMoves(Diagram(turnedBlocked), {
      {-1, 3, 0, 5, 0, true, false, "turned queen side needs (6, 0) empty"},
  });
  // Only the destination is tested with king safety; check and the passed
  // square are the engine's business.
  const Rows attacked = {"....k...",  //
                         "........",  //
                         "....r.r.",  //
                         "........",  //
                         "........",  //
                         "........",  //
                         "........",  //
                         "R...K..R"};
  ExpectMoves(Diagram(attacked), {
      {1, 4, 7, 6, 7, true, false, "destination attacked"},
      {1, 4, 7, 6, 7, false, true, "destination attacked, no safety test"},
      {1, 4, 7, 2, 7, true, true, "king in check may still castle by shape"},
  });
}

TEST_F(MoveRules, KingSafetyPutsTheKingOnItsTarget) {
  const Rows rows = {"........",  //
                     "........",  //
                     "........",  //
                     "........",  //
                     ".......b",  //
                     "........",  //
                     "...p.p..",  //
                     "....K..."};
  ExpectMoves(Diagram(rows), {
      {1, 4, 7, 5, 6, true, false, "the defended pawn"},
      {1, 4, 7, 5, 6, false, true, "the defended pawn without safety"},
      {1, 4, 7, 3, 6, true, true, "the undefended pawn"},
      {1, 4, 7, 4, 6, true, true, "pawns do not cover the square ahead"},
  });
  const Rows line = {"....r...",  //
                     "........",  //
                     "........",  //
                     "........",  //
                     "........",  //
                     "....K...",  //
                     "........",  //
                     "..k....."};
  ExpectMoves(Diagram(line), {
      {1, 4, 5, 4, 6, true, true, "retreat along the checking line (own square still blocks)"},
      {1, 4, 5, 4, 4, true, false, "towards the checking rook"},
      {1, 4, 5, 3, 5, true, true, "out of the line"},
      {1, 2, 7, 3, 6, true, false, "Black king next to the White king"},
      {1, 2, 7, 1, 6, true, true, "Black king away from it"},
  });
}

TEST_F(MoveRules, AttackTestByColourAndSquare) {
  const Rows rows = {"....k...",  //
                     "........",  //
                     "..r.....",  //
                     "........",  //
                     "......R.",  //
                     "........",  //
                     "...p....",  //
                     "....K..."};
  const ViewBoard board = Diagram(rows);
  struct Row {
    int x, y, code;
    bool attacked;
    const char* why;
  };
  const Row cases[] = {
      {2, 5, 0, false, "empty square under a Black rook: only White attackers count"},
      {6, 0, 0, true, "empty square under the White rook"},
      {4, 7, 0, true, "White king attacked by the pawn"},
      {2, 7, kWhiteKing, true, "White king put on the Black rook's column"},
      {5, 6, kWhiteKing, false, "White king put beside the pawn, not on its capture squares"},
      {4, 0, 0, false, "Black king not attacked"},
      {6, 0, kBlackKing, true, "Black king put on the White rook's column"},
      {3, 6, 0, true, "Black pawn next to the White king"},
  };
  for (const Row& row : cases) {
    gViewBoard = board;
    EXPECT_EQ(CheckPosition(row.x, row.y, static_cast<uint8_t>(row.code)),
              row.attacked ? ZVK_Globals::kTrue : ZVK_Globals::kFalse)
        << row.why;
    EXPECT_EQ(gViewBoard, board) << row.why << ": the tested square must be restored";
  }
}

TEST_F(MoveRules, SquaresOffTheBoardAreRefused) {
  gViewBoard = Diagram({"....k...", "........", "........", "........", "........", "........", "........",
                        "R...K..."});
  EXPECT_EQ(MoveAlright(0, 7, 8, 7, ZVK_Globals::kTrue), ZVK_Globals::kFalse);
  EXPECT_EQ(MoveAlright(0, 7, 0, -1, ZVK_Globals::kTrue), ZVK_Globals::kFalse);
  EXPECT_EQ(MoveAlright(-1, 7, 0, 6, ZVK_Globals::kTrue), ZVK_Globals::kFalse);
}

struct MateCase {
  const char* name;
  int16_t side;
  const char* rows[8];
  const char* colour;
  bool mated;
};

TEST_F(MoveRules, MateIsFoundForBothColoursAndOnlyWhenNoMoveHelps) {
  const MateCase cases[] = {
      {"fool's mate", 1,
       {"rnb.kbnr", "pppp.ppp", "........", "....p...", "......Pq", ".....P..", "PPPPP..P", "RNBQKBNR"},
       "White", true},
      {"fool's mate, the other colour", 1,
       {"rnb.kbnr", "pppp.ppp", "........", "....p...", "......Pq", ".....P..", "PPPPP..P", "RNBQKBNR"},
       "Black", false},
      {"scholar's mate", 1,
       {"r.bqkb.r", "pppp.Qpp", "..n..n..", "....p...", "..B.P...", "........", "PPPP.PPP", "RNB.K.NR"},
       "Black", true},
      {"the queen undefended: the king takes it", 1,
       {"r.bqkb.r", "pppp.Qpp", "..n..n..", "....p...", "....P...", "........", "PPPP.PPP", "RNB.K.NR"},
       "Black", false},
      {"smothered mate", 1,
       {"......rk", ".....Npp", "........", "........", "........", "........", "........", "....K..."},
       "Black", true},
      {"smothered mate on a turned board", -1,
       {"...K....", "........", "........", "........", "........", "........", "ppN.....", "kr......"},
       "Black", true},
      {"back-rank mate on a turned board", -1,
       {".K.....r", "PPP.....", "........", "........", "........", "........", "........", "......k."},
       "White", true},
      {"back rank: a rook blocks", -1,
       {".K.....r", "PPP.....", "........", "........", "....R...", "........", "........", "......k."},
       "White", false},
      {"back rank: a rook takes the checker", -1,
       {".K.....r", "PPP.....", "........", "........", "........", ".......R", "........", "......k."},
       "White", false},
      {"back rank: the king steps out", -1,
       {".K.....r", "PP......", "........", "........", "........", "........", "........", "......k."},
       "White", false},
      {"a pinned bishop cannot block", 1,
       {"....rr..", "........", ".......b", "........", "........", "........", "........", "r..BK..."},
       "White", true},
      {"the same block without the pin", 1,
       {"....rr..", "........", ".......b", "........", "........", "........", "........", "...BK..."},
       "White", false},
      {"stalemate is no mate", 1,
       {".......k", "........", "......Q.", "........", "........", "........", "........", "....K..."},
       "Black", false},
      {"no king of that colour", 1,
       {"........", "........", "........", "........", "........", "........", "........", "....K..."},
       "Black", false},
  };
  for (const MateCase& m : cases) {
    const ViewBoard board = Diagram(m.rows);
    gViewBoard = board;
    ZVK_Globals::gBoardSide = m.side;
    EXPECT_EQ(IsKingMated(m.colour), m.mated ? ZVK_Globals::kTrue : ZVK_Globals::kFalse) << m.name;
    EXPECT_EQ(gViewBoard, board) << m.name << ": the mate test must not change the board";
  }
  EXPECT_EQ(IsKingMated("Green"), ZVK_Globals::kFalse);
}

}  // namespace
