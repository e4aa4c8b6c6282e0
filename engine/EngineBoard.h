#pragma once
// The engine board: 12 x 12 signed cells indexed (x, y) from -1 to 10, x the
// file (1 = a ... 8 = h), y the rank. Cell (x, y) is stored at
// (x + 1) + (y + 1) * 12. The playing area is 1..8; the two outer rings hold
// kOffBoard, an empty square holds 0.
#include <array>
#include <cstdint>
#include <stdexcept>

namespace ZVK_Engine {

inline constexpr int32_t kOffBoard = 2;
inline constexpr int32_t kPawn = 10;
inline constexpr int32_t kKnight = 30;
inline constexpr int32_t kBishop = 32;
inline constexpr int32_t kRook = 50;
inline constexpr int32_t kQueen = 90;
inline constexpr int32_t kKingPositive = 15000;   // the positive side's king (Black in the game position)
inline constexpr int32_t kKingNegative = -10000;  // the negative side's king (White in the game position)

inline constexpr int kBoardCells = 144;

constexpr int CellIndex(int x, int y) { return (x + 1) + (y + 1) * 12; }

struct EngineBoard {
  std::array<int32_t, kBoardCells> cells{};

  // Unchecked access for the hot loops; callers stay inside -1..10.
  int32_t& operator()(int x, int y) { return cells[CellIndex(x, y)]; }
  int32_t operator()(int x, int y) const { return cells[CellIndex(x, y)]; }

  // Checked access: a coordinate outside -1..10 is a subscript error.
  int32_t& at(int x, int y) {
    if (x < -1 || x > 10 || y < -1 || y > 10) throw std::out_of_range("Subscript out of range");
    return cells[CellIndex(x, y)];
  }
  int32_t at(int x, int y) const {
    if (x < -1 || x > 10 || y < -1 || y > 10) throw std::out_of_range("Subscript out of range");
    return cells[CellIndex(x, y)];
  }

  bool operator==(const EngineBoard&) const = default;
};

}  // namespace ZVK_Engine
