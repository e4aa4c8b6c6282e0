#pragma once
// The engine: its boards, the game log, move generation, evaluation, the
// four-half-move search and the check of a human move. Module state lives for
// the whole run, exactly like the game state in ZVK_Globals.h.
//
// The engine always moves the positive side (Black in the game position). To
// play White the caller turns the board with ZVK_Board_Sub::MirrorBoard first;
// Log_Play turns a position made that way back before it is stored.
//
// Every procedure logs a failure under "<name> of Modul ZVK_Engine" and returns;
// no error ever reaches the caller. Most procedures yield to the message loop,
// so window events (and even a nested search) can run inside them; see
// SearchBestMove for what that means for a running search.
// Qt-free header.
#include <array>
#include <cstdint>
#include <vector>

#include "engine/EngineBoard.h"

namespace ZVK_Engine {

inline constexpr int kMaxListEntries = 200;  // entries 1..200 of each list are used, 0 never

using BoardList = std::array<EngineBoard, kMaxListEntries + 1>;

// ---- module state ----
inline EngineBoard gVirtualBoard;  // the game position (White negative)
inline EngineBoard gBestBoard;     // the chosen position; also MirrorBoard's scratch board
inline EngineBoard gBoardPly1, gBoardPly2, gBoardPly3, gBoardPly4;
inline EngineBoard gAttackMap;     // 1 on every square a generated move reaches
inline EngineBoard gTempBoard;
inline BoardList gCandBoards;
inline BoardList gReplyBoards;
inline int32_t gCandCount = 0;     // may exceed 200 after an overflow; the extra moves are not stored
inline int32_t gReplyCount = 0;
inline std::array<float, kMaxListEntries + 1> gMoveScores{};
inline float gBestValue = 0, gPly2Min = 0, gPly3Max = 0, gPly4Min = 0;
inline float gEvaluatedMoves = 0;
inline float gMobility = 0;
inline int32_t gWhiteKingX = 0, gWhiteKingY = 0, gBlackKingX = 0, gBlackKingY = 0;
inline int32_t gWhitePieces = 0, gBlackPieces = 0;
inline int32_t gGamePhase = 0;
inline int32_t gGenMode = 0;       // 1 collect, 2 search node, 3 attack map and tests
inline int32_t gTestKind = 0;      // mode 3 of the positive sink: 1 mobility, 2 map, 3 king capture, 5 king escape
inline int32_t gMoveFound = 0;
inline int32_t gMoveNumber = 0;    // half-move number of the game position; last index of gGameLog
inline int16_t gKingCapturable = 0, gCutoff = 0, gUserMoveAccepted = 0, gCastled = 0;

// The position after every half-move 0..gMoveNumber, always with White
// negative. Outside writers (the game-file reader) may resize and fill it.
inline std::vector<EngineBoard> gGameLog;

// ---- board, mirroring and log ----
void Ini_VirtualBoard();
void CopyBoard(EngineBoard& destination, const EngineBoard& source);  // destination first
void Movement_comp(EngineBoard& board, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY);
void calcular_rey(const EngineBoard& board);
void Reset_VirtualBoard();  // clears gAttackMap, not the game position
void Initial_Game();
void Log_Play();

// The core of the move slider's change handler: gMoveNumber := value, shown in
// lbl_Play; side to move by parity; the logged position copied into
// gVirtualBoard. Throws std::out_of_range (after the first three steps) when
// the log holds no such slice: the window's handler runs it inside its own
// error handler. The main window's HScroll1_Change calls it, then writes its
// record line.
void ApplyMoveSliderValue(int16_t value);

// ---- move generation ----
void Move_Black(EngineBoard& board, int32_t x, int32_t y);
void Move_White(EngineBoard& board, int32_t x, int32_t y);
void gen_black(int32_t fromX, int32_t fromY, EngineBoard& board, int32_t dx, int32_t dy);
void gen_bl(int32_t fromX, int32_t fromY, EngineBoard& board, int32_t dx, int32_t dy);
void PossibleBlackMoves(int32_t toX, int32_t toY, int32_t fromX, int32_t fromY);  // target first
void PossibleWhiteMoves(int32_t toX, int32_t toY, int32_t fromX, int32_t fromY);  // target first
void Move_Black_UntilWarning();
void Move_White_UntilWarning();

// ---- evaluation and ordering ----
float Valuer(const EngineBoard& board);
void EvaluateGame(const EngineBoard& board);
float Valuer2(const EngineBoard& board);
void MoveEvaluationBlack();
void MoveEvaluationWhite();

// ---- search ----
// Searches the positive side's move on gVirtualBoard and commits it (or gives
// up). A search commits only into the position it started from: when, while it
// yielded, a game began (Initial_Game), a half-move was logged, another search
// started, the game mode changed, or gVirtualBoard / gMoveNumber were written,
// it ends without committing and without giving up. See PositionEpoch.
// True when this search committed its move.
bool SearchBestMove();
void Ini_Search();
void ch_Castle();
void RefreshGame();
int16_t Check4RepMoves(const EngineBoard& candidate);
void UpdateGame();

// Counts every event that replaces the game wholesale or starts a search:
// Initial_Game, Log_Play and SearchBestMove raise it themselves. Code outside the
// engine that replaces the game log (loading a game) calls NotePositionChanged
// so that a search running underneath does not commit into the loaded game
// even when the loaded position happens to equal the searched one. Plain
// writes to gVirtualBoard or gMoveNumber need nothing: the search compares them.
uint64_t PositionEpoch();
void NotePositionChanged();

// ---- human moves ----
// Square numbers 0..63: row * 8 + column with White at the bottom.
void Check4Castle(int32_t fromSquare, int32_t toSquare);
void Movement_us(int32_t fromSquare, int32_t toSquare);
void Movement_us2(int32_t fromSquare, int32_t toSquare);

}  // namespace ZVK_Engine
