#include "board/GameRecord.h"

#include "board/RecordWindow.h"
#include "board/TakenPieces.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_Time.h"
#include "support/ZVK_MSAgent.h"
#include "support/ZVK_WindowHelpers.h"

namespace ZVK_Board_Sub {
namespace {

platform::RichTextDocument gMoveList;
platform::RichTextDocument gStaging;

const char* const kCrLf = "\r\n";

// Without a loaded character the line is not heard (the speech logs its
// failure), but the pause after it stays, so the pace of the game is the same.
void SpeakMove(const std::string& text) {
  ZVK_MSAgent::MyAgentSpeakText("Move " + text, ZVK_PlaySoundFile::gHasSound);
  ZVK_Time::Wait(1);
  if (platform::AssistantCharacter* character = ZVK_MSAgent::gAgentChar()) character->Hide(true);
}

// Whether a pawn that left (fx, fy) reached (tx, ty) by a promotion made with
// the move itself, as the engine's are: the pawn's code is gone from the board,
// and a new piece of its colour stands one step ahead on the last rank.
bool IsPromotionTarget(const ZVK_Engine::EngineBoard& before, const ZVK_Engine::EngineBoard& after, int32_t pawn,
                       int fx, int fy, int tx, int ty) {
  if (pawn != ZVK_Engine::kPawn && pawn != -ZVK_Engine::kPawn) return false;
  const bool white = pawn < 0;  // White is the negative side of the game position
  const int lastRank = white ? 8 : 1;
  const int32_t now = after(tx, ty);
  return ty == lastRank && fy == lastRank + (white ? -1 : 1) && tx - fx >= -1 && tx - fx <= 1 && now != 0 &&
         now != pawn && (now < 0) == white && now != before(tx, ty);
}

}  // namespace

std::string SquareText(int file, int rank) {
  return std::string(1, static_cast<char>('A' + file - 1)) + ":" + std::to_string(rank);
}

const platform::RichTextDocument& txtMoveList() { return gMoveList; }
const platform::RichTextDocument& RTB2() { return gStaging; }

void SetGameRecord(const platform::RichTextDocument& record) {
  gMoveList = record;
  TheRecordWindow().MoveListReplaced(gMoveList);
}

void ClearGameRecord() { SetGameRecord(platform::RichTextDocument()); }

void Write2GameRecord(const std::string& text, int32_t color, bool speak) {
  Guarded("Write2GameRecord of Formular fMainForm", [&] {
    if (ZVK_Globals::gNavigating != 0) return;
    RecordWindow& window = TheRecordWindow();
    const int32_t shown = window.ControlValue("setup") == 1 ? kRecordBlue : color;
    gStaging.Clear();
    gStaging.Append(text, shown);
    gMoveList.Append(text, shown);
    window.MoveListAppended(text, shown & 0xFFFFFF);
    if (window.ControlValue("chkEnableVoice") == 1 && speak) SpeakMove(text);
  });
}

std::string Get_PieceName(const int32_t& code) {
  switch (code) {
    case 10: return "Black Pawn";
    case 30: return "Black Knight";
    case 32: return "Black Bishop";
    case 50: return "Black Rook";
    case 90: return "Black Queen";
    case 15000: return "Black King";
    case -10: return "White Pawn";
    case -30: return "White Knight";
    case -32: return "White Bishop";
    case -50: return "White Rook";
    case -90: return "White Queen";
    case -10000: return "White King";
    case 0: return "Empty";
    default: return "";
  }
}

void Record_Move() {
  Guarded("Record_Move of Modul ZVK_Board_Sub", [] {
    const auto& before = ZVK_Globals::gPrevBoard;
    const auto& after = ZVK_Engine::gVirtualBoard;
    // Files outer, ranks inner: so a queen-side castling is found as its
    // rook's move (file a before file e) and a king-side one as the king's.
    for (int fx = 1; fx <= 8; ++fx) {
      for (int fy = 1; fy <= 8; ++fy) {
        const int32_t moved = before(fx, fy);
        if (moved == 0 || after(fx, fy) == moved) continue;
        for (int tx = 1; tx <= 8; ++tx) {
          for (int ty = 1; ty <= 8; ++ty) {
            const bool reached = after(tx, ty) == moved && before(tx, ty) != moved;
            if (!reached && !IsPromotionTarget(before, after, moved, fx, fy, tx, ty)) continue;
            std::string line = TheRecordWindow().lbl_PlayCaption() + "  " + Get_PieceName(moved) + " at " +
                               SquareText(fx, fy) + " to " + SquareText(tx, ty);
            gLastMoveFromX = static_cast<int16_t>(fx - 1);
            gLastMoveFromY = static_cast<int16_t>(8 - fy);
            gLastMoveToX = static_cast<int16_t>(tx - 1);
            gLastMoveToY = static_cast<int16_t>(8 - ty);
            const int32_t captured = before(tx, ty);
            const std::string capturedName = Get_PieceName(captured);
            if (capturedName != "Empty") {
              line += " (takes " + capturedName + ")";
              AddTakenPiece(captured);
            }
            const int32_t color = ZVK_Globals::gColorToMove == ZVK_Globals::kWhite ? kRecordDarkRed : kRecordBlack;
            Write2GameRecord(line + kCrLf, color, true);
            return;
          }
        }
      }
    }
  });
}

void RecordEditMoves() {
  Guarded("RecordEditMoves of Modul ZVK_Board_Sub", [] {
    Write2GameRecord(std::string("Chess Piece configuration after editing :") + kCrLf, kRecordBlack, true);
    for (int x = 1; x <= 8; ++x) {
      for (int y = 1; y <= 8; ++y) {
        const int32_t code = ZVK_Engine::gVirtualBoard(x, y);
        if (code == 0) continue;
        Write2GameRecord(Get_PieceName(code) + " at " + SquareText(x, y) + kCrLf, kRecordGreen, false);
      }
    }
  });
}

}  // namespace ZVK_Board_Sub
