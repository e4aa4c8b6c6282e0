#pragma once
// The taken-pieces tables and the two picture strips that show them. Row k
// (1..16) of a table is the k-th piece of that colour taken: column 0 the row
// number, column 1 its picture number, column 2 the half-move of the capture
// (0: the row is empty). Row 0 is never used.
#include <array>
#include <cstdint>

namespace ZVK_Board_Sub {

inline constexpr int kTakenRows = 16;
using TakenTable = std::array<std::array<int16_t, 3>, kTakenRows + 1>;

inline TakenTable gTakenWhite{};  // white pieces lost
inline TakenTable gTakenBlack{};  // black pieces lost
inline int16_t gTakenWhiteCount = 0;
inline int16_t gTakenBlackCount = 0;

// Keeps a capture at the current half-move: the next row of the colour's
// table and the strip element beside it. A seventeenth capture of one colour
// (possible only after editing the board) has no row: it is not kept.
void AddTakenPiece(int32_t capturedCode);

// Forgets the captures made after a half-move that became the game's last;
// the strips keep showing what they show.
void DropTakenPiecesAfter(int32_t halfMove);

// Shows exactly the captures made at or before the shown half-move.
void Correct_TakenPieces();

// fMainForm.Reset_TakenPieces_Board: both tables, strips and counters cleared.
void Reset_TakenPieces_Board();

}  // namespace ZVK_Board_Sub
