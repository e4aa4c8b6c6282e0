#pragma once
// Positions on the displayed board written as eight rows of text, top row
// first: upper case White (K Q R B N P), lower case Black, '.' empty.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"

namespace boardtest {

// A letter's position in this string is its picture number.
inline const std::string kLetters = ".rnbqkp....RNBQKP";

inline ZVK_Board_Sub::ViewBoard Diagram(const char* const (&rows)[8]) {
  ZVK_Board_Sub::ViewBoard board;
  for (int r = 0; r < 8; ++r) {
    const std::string row = rows[r];
    EXPECT_EQ(row.size(), 8u) << "row " << r;
    for (int c = 0; c < 8 && c < static_cast<int>(row.size()); ++c) {
      const size_t picture = kLetters.find(row[static_cast<size_t>(c)]);
      board(c, r) = picture == std::string::npos ? 0 : static_cast<uint8_t>(picture);
    }
  }
  return board;
}

// A result in the program's -1 / 0 flag convention.
inline int16_t Flag(bool value) { return value ? ZVK_Globals::kTrue : ZVK_Globals::kFalse; }

// Puts the game state the board rules read back to a known start.
inline void ResetBoardState(int16_t side = 1) {
  ZVK_Globals::gBoardSide = side;
  ZVK_Board_Sub::gPieceSelected = 0;
  ZVK_Board_Sub::gFromX = ZVK_Board_Sub::gFromY = ZVK_Board_Sub::gToX = ZVK_Board_Sub::gToY = 0;
  ZVK_Board_Sub::gViewBoard = {};
}

}  // namespace boardtest

namespace ZVK_Board_Sub {
// Failed comparisons of boards print them as diagrams.
inline void PrintTo(const ViewBoard& board, std::ostream* os) {
  for (int r = 0; r < 8; ++r) {
    *os << '\n';
    for (int c = 0; c < 8; ++c) *os << (board(c, r) < 17 ? boardtest::kLetters[board(c, r)] : '?');
  }
}
}  // namespace ZVK_Board_Sub
