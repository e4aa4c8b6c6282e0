#pragma once
// The fixed positions the benchmarks search, shared so that the engine's and
// the window's figures are measured on the same games. Engine-only: the engine
// benchmark links nothing else.
#include <string>
#include <vector>

#include "engine/EngineBoard.h"

namespace benchpositions {

struct SuitePosition {
  const char* name;
  std::vector<std::string> rows;  // rank 8 first; lower case Black (positive), upper case White
  int32_t moveNumber;             // odd: Black to move
};

inline const std::vector<SuitePosition> kSuite = {
    {"opening_black_after_e4", {"rnbqkbnr", "pppppppp", "........", "........", "....P...", "........", "PPPP.PPP", "RNBQKBNR"}, 1},
    {"opening_white_start", {"rnbqkbnr", "pppppppp", "........", "........", "........", "........", "PPPPPPPP", "RNBQKBNR"}, 0},
    {"middlegame_italian_black", {"r.bqk..r", "pppp.ppp", "..n..n..", "..b.p...", "..B.P...", "..NP.N..", "PPP..PPP", "R.BQK..R"}, 9},
    {"middlegame_queens_gambit_white", {"r....rk.", "pp..qppp", "..p.bn..", "...p....", "...P....", "..NBPN..", "PP...PPP", "R..Q.RK."}, 14},
    {"middlegame_london_black", {"r..q.rk.", "pp..bppp", "..n.pn..", "...p.b..", "...P.B..", "..PBPN..", "PP.N.PPP", "R..QK..R"}, 21},
    {"middlegame_fianchetto_white", {"..rq.rk.", "pb..bppp", ".p..pn..", "...p....", "..PP....", ".PN.PN..", "PB..BPPP", "..RQ.RK."}, 24},
    {"endgame_pawns_black", {"........", ".....k..", "..p.....", "...p.p..", "...P.P..", "....K...", "........", "........"}, 51},
    {"endgame_queen_vs_rook_white", {"...r..k.", "......pp", "........", "........", "........", "........", "Q.....PP", "......K."}, 60},
    {"endgame_bishop_vs_knight_black", {"......k.", ".p...ppp", "..n.....", "........", "..B.....", "......P.", ".P...P.P", "......K."}, 45},
};

inline std::vector<const SuitePosition*> Middlegames() {
  std::vector<const SuitePosition*> positions;
  for (const SuitePosition& p : kSuite)
    if (std::string(p.name).starts_with("middlegame_")) positions.push_back(&p);
  return positions;
}

// The engine board of eight rows, rank 8 first: lower case the positive side,
// upper case the negative side (White in the game position); '.' empty.
inline ZVK_Engine::EngineBoard Diagram(const std::vector<std::string>& rows) {
  using namespace ZVK_Engine;
  static const std::string kLetters = "pnbrqkPNBRQK";
  static const int32_t kCodes[] = {kPawn,  kKnight,  kBishop,  kRook,  kQueen,  kKingPositive,
                                   -kPawn, -kKnight, -kBishop, -kRook, -kQueen, kKingNegative};
  EngineBoard b;
  b.cells.fill(kOffBoard);
  for (int r = 0; r < 8; ++r)
    for (int x = 1; x <= 8; ++x) {
      const size_t i = kLetters.find(rows.at(static_cast<size_t>(r)).at(static_cast<size_t>(x - 1)));
      b(x, 8 - r) = i == std::string::npos ? 0 : kCodes[i];
    }
  return b;
}

}  // namespace benchpositions
