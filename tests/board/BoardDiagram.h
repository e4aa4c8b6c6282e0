#pragma once
// Positions on the displayed board written as eight rows of text, top row
// first: upper case White (K Q R B N P), lower case Black, '.' empty.
#include <gtest/gtest.h>

#include <string>

#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Globals.h"

namespace boardtest {

inline uint8_t PictureOf(char ch) {
  static const std::string kinds = "rnbqkp";
  const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  const size_t kind = kinds.find(lower);
  if (ch == '.' || kind == std::string::npos) return 0;
  const int offset = std::isupper(static_cast<unsigned char>(ch)) ? 10 : 0;
  return static_cast<uint8_t>(offset + static_cast<int>(kind) + 1);
}

inline ZVK_Board_Sub::ViewBoard Diagram(const char* const (&rows)[8]) {
  ZVK_Board_Sub::ViewBoard board;
  for (int r = 0; r < 8; ++r) {
    const std::string row = rows[r];
    EXPECT_EQ(row.size(), 8u) << "row " << r;
    for (int c = 0; c < 8 && c < static_cast<int>(row.size()); ++c) board(c, r) = PictureOf(row[static_cast<size_t>(c)]);
  }
  return board;
}

inline std::string Describe(const ZVK_Board_Sub::ViewBoard& board) {
  static const std::string letters = ".rnbqkp....RNBQKP";
  std::string text;
  for (int r = 0; r < 8; ++r) {
    for (int c = 0; c < 8; ++c) {
      const int p = board(c, r);
      text += p < static_cast<int>(letters.size()) ? letters[static_cast<size_t>(p)] : '?';
    }
    text += '\n';
  }
  return text;
}

// Puts the game state the board rules read back to a known start.
inline void ResetBoardState(int16_t side = 1) {
  ZVK_Globals::gBoardSide = side;
  ZVK_Board_Sub::gPieceSelected = 0;
  ZVK_Board_Sub::gFromX = ZVK_Board_Sub::gFromY = ZVK_Board_Sub::gToX = ZVK_Board_Sub::gToY = 0;
  ZVK_Board_Sub::gViewBoard = {};
}

}  // namespace boardtest
