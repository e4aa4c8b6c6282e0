#pragma once
// The displayed board: 8 x 8 picture numbers rebuilt from the engine board at
// every update, its coordinate frames, the move rules that judge a user's
// move on it, its drawing and the sliding animation of a moved piece.
//
// Squares are (column, row), column 0 at the left and row 0 at the top of the
// board picture. Flags follow the program's -1 / 0 convention.
#include <array>
#include <cstdint>
#include <string>

#include "engine/EngineBoard.h"

namespace ZVK_Board_Sub {

// Picture numbers: 0 empty, 1..6 Black rook, knight, bishop, queen, king,
// pawn, 11..16 the same for White. Masks are 21..26, one per kind.
inline constexpr uint8_t kEmpty = 0;
inline constexpr uint8_t kRook = 1, kKnight = 2, kBishop = 3, kQueen = 4, kKing = 5, kPawn = 6;
inline constexpr uint8_t kBlackOffset = 0;
inline constexpr uint8_t kWhiteOffset = 10;
inline constexpr uint8_t kBlackKing = kBlackOffset + kKing;  // 5
inline constexpr uint8_t kWhiteKing = kWhiteOffset + kKing;  // 15
inline constexpr int kSquarePixels = 48;
inline constexpr int kBoardPixels = 8 * kSquarePixels;  // 384

// The displayed board, element (c, r) stored at c + 8 * r.
struct ViewBoard {
  std::array<uint8_t, 64> squares{};

  uint8_t& operator()(int c, int r) { return squares[static_cast<size_t>(c + 8 * r)]; }
  uint8_t operator()(int c, int r) const { return squares[static_cast<size_t>(c + 8 * r)]; }
  // Checked access: a square outside 0..7 is a subscript error (logged by the caller's guard).
  uint8_t& at(int c, int r);
  uint8_t at(int c, int r) const;

  bool operator==(const ViewBoard&) const = default;
};

inline ViewBoard gViewBoard;

// The pick state the board input writes and the drawing reads: the picked
// piece's square, the square under the mouse (the target of a move) and
// whether a piece is picked.
inline int16_t gFromX = 0, gFromY = 0, gToX = 0, gToY = 0;
inline int16_t gPieceSelected = 0;

// ---- pictures and coordinates -------------------------------------------

// Picture number of an engine code; 0 for anything that is not a piece code.
uint8_t ConvertFigureNumber(const int32_t& code);

// Mask index of a picture number (1 and 11 both give 21); 0 for an empty square.
int MaskNumber(int picture);

// 0 empty, kBlackOffset + 1 .. for Black (1..9), kWhiteOffset + 1 .. for White (11 and above).
inline bool IsBlackPicture(int p) { return p > 0 && p < 10; }
inline bool IsWhitePicture(int p) { return p > 10; }

struct Square {
  int c = 0;
  int r = 0;
  bool operator==(const Square&) const = default;
};
struct Cell {
  int x = 0;
  int y = 0;
  bool operator==(const Cell&) const = default;
};

// Engine cell (file, rank 1..8) -> displayed square, and back, in the
// orientation of gBoardSide (1 White at the bottom, -1 turned).
Square EngineToView(int x, int y);
Cell ViewToEngine(int c, int r);
// Square number 0..63 of a displayed square; the same number in both
// orientations for the same engine cell.
int SquareNumber(int c, int r);
// A mouse coordinate in pixels -> column or row, clamped to 0..7.
int16_t MouseToSquare(double pixels);

// Rebuilds gViewBoard from the engine's game position, draws it with the
// check tests on and enables the board picture for mouse input.
void Update_Board();
// The rebuild alone, from any engine board (game orientation, White negative).
void FillViewBoard(const ZVK_Engine::EngineBoard& board);

// gIposFrom / gIposTo from the pick state, mirrored on a turned board.
void Convert2IposBoard();

// ---- move rules -----------------------------------------------------------

// Whether the piece on (fromX, fromY) may go to (toX, toY) by the shape of its
// move and the squares in between; with kingSafety a king may not step onto an
// attacked square. No en passant; castling checks only the squares.
// Any non-zero kingSafety counts as True.
int16_t MoveAlright(int16_t fromX, int16_t fromY, int16_t toX, int16_t toY, int16_t kingSafety);
// Whether (x, y) is attacked by the colour opposite to what stands on it; a
// king code (5 or 15), or any code on an empty square, is put on the square
// for the test and taken away again.
int16_t CheckPosition(int16_t x, int16_t y, uint8_t code);
// True while a test has put a piece on the displayed board for its length
// (the yields inside the tests let other events run meanwhile): a command
// that read the board or drew a new one then would see, or lose, that piece.
bool ViewBoardUnderTest();

// True (-1) when the king of `colour` ("White" or "Black") is in check and no
// move of that side by the rules above leaves it unattacked. Castling never
// counts as a way out of check.
int16_t IsKingMated(const std::string& colour);

// ---- drawing and animation ----------------------------------------------

// Composes the board in the back buffer (board picture, markers, pieces) and
// shows it; withChecks adds the danger markers, the check labels, the spoken
// warnings and the mate handling.
void RenderBoard(int16_t withChecks);

// Slides the piece on the from-square to the to-square. The squares are given
// with White at the bottom; on a turned board they are turned in place.
void MoveAniPiece(int16_t& fromX, int16_t& fromY, int16_t& toX, int16_t& toY);

}  // namespace ZVK_Board_Sub
