#include "board/TakenPieces.h"

#include "board/RecordWindow.h"
#include "board/TextNumbers.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/ZVK_Engine.h"
#include "support/ErrorGuard.h"

namespace ZVK_Board_Sub {

void AddTakenPiece(int32_t capturedCode) {
  const bool black = capturedCode >= 0;
  int16_t& count = black ? gTakenBlackCount : gTakenWhiteCount;
  TakenTable& table = black ? gTakenBlack : gTakenWhite;
  // Only an edited board can lose a seventeenth piece of one colour; the
  // record line names it, but there is no row or picture left for it.
  if (count < 0 || count >= kTakenRows) return;
  ++count;
  const int picture = ConvertFigureNumber(capturedCode);
  TheRecordWindow().SetTakenPicture(black ? TakenStrip::TakenBlack : TakenStrip::TakenWhite, count, picture);
  auto& row = table[static_cast<size_t>(count)];
  row[0] = count;
  row[1] = static_cast<int16_t>(picture);
  row[2] = RoundToInt16(ZVK_Engine::gMoveNumber);  // a half-move beyond 16 bits is an overflow, not a wrap
}

void DropTakenPiecesAfter(int32_t halfMove) {
  for (TakenTable* table : {&gTakenBlack, &gTakenWhite})
    for (auto& row : *table)
      if (row[2] > halfMove) row = {};
}

void Correct_TakenPieces() {
  Guarded("Correct_TakenPieces of Modul ZVK_Board_Sub", [] {
    gTakenBlackCount = 0;
    gTakenWhiteCount = 0;
    RecordWindow& window = TheRecordWindow();
    for (const bool black : {true, false}) {
      const TakenTable& table = black ? gTakenBlack : gTakenWhite;
      int16_t& count = black ? gTakenBlackCount : gTakenWhiteCount;
      const TakenStrip strip = black ? TakenStrip::TakenBlack : TakenStrip::TakenWhite;
      for (int k = 1; k <= kTakenRows; ++k) {
        const int16_t at = table[static_cast<size_t>(k)][2];
        if (at != 0 && at <= ZVK_Engine::gMoveNumber) {
          ++count;
          window.SetTakenPicture(strip, k, table[static_cast<size_t>(k)][1]);
        } else {
          window.SetTakenPicture(strip, k, 0);
        }
      }
    }
  });
}

void Reset_TakenPieces_Board() {
  Guarded("Reset_TakenPieces_Board of Formular fMainForm", [] {
    gTakenWhite = TakenTable{};
    gTakenBlack = TakenTable{};
    RecordWindow& window = TheRecordWindow();
    for (int k = 1; k <= kTakenRows; ++k) {
      window.SetTakenPicture(TakenStrip::TakenBlack, k, 0);
      window.SetTakenPicture(TakenStrip::TakenWhite, k, 0);
    }
    gTakenBlackCount = 0;
    gTakenWhiteCount = 0;
  });
}

}  // namespace ZVK_Board_Sub
