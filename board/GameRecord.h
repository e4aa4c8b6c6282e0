#pragma once
// The game record: one line of plain English per move in the record box
// txtMoveList, each line coloured, staged in the hidden box RTB2 (which keeps
// the last line for the correspondence files), and the taken-pieces tables
// that a capture fills.
#include <cstdint>
#include <string>

#include "platform/RichText.h"

namespace ZVK_Board_Sub {

// Record colours (blue-green-red).
inline constexpr int32_t kRecordBlack = 0;
inline constexpr int32_t kRecordDarkRed = 0x80;
inline constexpr int32_t kRecordGreen = 0x8000;
inline constexpr int32_t kRecordBlue = 0xFF0000;

// Origin and target of the last recorded move, with White at the bottom:
// column = file - 1, row = 8 - rank.
inline int16_t gLastMoveFromX = 0, gLastMoveFromY = 0, gLastMoveToX = 0, gLastMoveToY = 0;

// The record box's content and the staging box's content.
const platform::RichTextDocument& txtMoveList();
const platform::RichTextDocument& RTB2();

// Replaces the whole record (a loaded game) or clears it (a new game: pass
// an empty document); the window is told.
void SetGameRecord(const platform::RichTextDocument& record);
void ClearGameRecord();

// fMainForm.Write2GameRecord: appends one line (text ending in CR LF) in its
// colour, blue while the edit-mode box "setup" is checked; speaks "Move " and
// the line when the voice box is checked and speak is true, then waits one
// second. Writes and speaks nothing while gNavigating is true.
void Write2GameRecord(const std::string& text, int32_t color, bool speak);

// "White Knight" and the like for an engine code; "Empty" for 0, "" for
// anything that is not a piece code.
std::string Get_PieceName(const int32_t& code);

// A square as the record names it: the file's capital letter, a colon and
// the rank ("E:2"); file and rank 1..8.
std::string SquareText(int file, int rank);

// Finds the move just made by comparing gPrevBoard with the game position,
// writes its record line, sets the last-move squares and fills the
// taken-pieces tables on a capture.
void Record_Move();

// Lists every piece of the position after the board was edited.
void RecordEditMoves();

}  // namespace ZVK_Board_Sub
