#include "board/GameFile.h"

#include <QFile>
#include <QSaveFile>
#include <QString>

#include "board/GameRecord.h"
#include "board/RecordWindow.h"
#include "board/TextNumbers.h"
#include "board/ZVK_Board_Sub.h"
#include "engine/EngineWindow.h"
#include "engine/ZVK_Engine.h"
#include "platform/MessageBox.h"
#include "platform/RichText.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_File_Dir.h"

namespace ZVK_Board_Sub {
namespace {

using ZVK_ErrorLog::RuntimeError;

const char* const kCrLf = "\r\n";

void AppendTextItem(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';  // doubled: the only way a quote can live inside a quoted item
    out += c;
  }
  out += '"';
  out += kCrLf;
}

void AppendNumberItem(std::string& out, int32_t value) {
  out += std::to_string(value);
  out += kCrLf;
}

[[noreturn]] void PastEnd() { throw RuntimeError(ZVK_ErrorLog::kErrInputPastEnd, "Input past end of file"); }

// Reads items as the sequential-file input statement does: leading blanks
// skipped; a quoted field runs to its closing quote (line breaks and commas
// kept, a doubled quote is one quote) and the rest of its line or up to the
// next comma is skipped; any other field runs to the next comma or line end.
class ItemReader {
 public:
  explicit ItemReader(const std::string& bytes) : s_(bytes) {}

  std::string Next() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    if (pos_ >= s_.size()) PastEnd();
    std::string field;
    if (s_[pos_] == '"') {
      ++pos_;
      for (;;) {
        const size_t quote = s_.find('"', pos_);
        if (quote == std::string::npos) PastEnd();  // the closing quote was cut off
        field.append(s_, pos_, quote - pos_);
        pos_ = quote + 1;
        if (pos_ < s_.size() && s_[pos_] == '"') {
          field += '"';
          ++pos_;
          continue;
        }
        break;
      }
      while (pos_ < s_.size() && !IsDelimiter(s_[pos_])) ++pos_;
    } else {
      const size_t start = pos_;
      while (pos_ < s_.size() && !IsDelimiter(s_[pos_])) ++pos_;
      field.assign(s_, start, pos_ - start);
      while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.pop_back();
    }
    SkipDelimiter();
    return field;
  }

  int32_t NextNumber() { return ParseDecimalInt32(Next()); }

  // After the last item only line ends may follow: anything else means the
  // items were not the ones this file was written with.
  bool AtEnd() {
    while (pos_ < s_.size() && (s_[pos_] == '\r' || s_[pos_] == '\n')) ++pos_;
    return pos_ == s_.size();
  }

 private:
  static bool IsDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

  void SkipDelimiter() {
    if (pos_ >= s_.size()) return;
    if (s_[pos_] == '\r') {
      ++pos_;
      if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
    } else {
      ++pos_;  // ',' or '\n'
    }
  }

  const std::string& s_;
  size_t pos_ = 0;
};

bool IsPieceOrEmpty(int32_t code) {
  switch (code) {
    case 0: case 10: case 30: case 32: case 50: case 90: case 15000:
    case -10: case -30: case -32: case -50: case -90: case -10000:
      return true;
    default:
      return false;
  }
}

// The engine walks off the playing area until it meets a border cell, so a
// board whose rings are not all 2 must never reach it.
void CheckBoard(const ZVK_Engine::EngineBoard& board) {
  for (int y = -1; y <= 10; ++y) {
    for (int x = -1; x <= 10; ++x) {
      const bool playing = x >= 1 && x <= 8 && y >= 1 && y <= 8;
      const int32_t v = board(x, y);
      if (playing ? !IsPieceOrEmpty(v) : v != ZVK_Engine::kOffBoard) {
        throw RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Invalid position in the game file");
      }
    }
  }
}

int16_t ToCell16(int32_t v) {
  if (v < INT16_MIN || v > INT16_MAX) throw RuntimeError(ZVK_ErrorLog::kErrOverflow, "Overflow");
  return static_cast<int16_t>(v);
}

std::string ReadWholeFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) throw RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
  if (file.size() > kMaxGameFileBytes) throw RuntimeError(ZVK_ErrorLog::kErrOutOfMemory, "Out of memory");
  const QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

}  // namespace

std::string FormatGameFile(const GameFileContents& game) {
  std::string out;
  AppendTextItem(out, std::to_string(game.moveNumber));
  AppendTextItem(out, game.comment);
  for (int32_t m = 0; m <= game.moveNumber; ++m) {
    const auto& board = game.log.at(static_cast<size_t>(m));
    for (int y = -1; y <= 10; ++y) {
      for (int x = -1; x <= 10; ++x) AppendNumberItem(out, board(x, y));
    }
  }
  for (size_t k = 0; k <= kTakenRows; ++k) {
    for (size_t t = 0; t < 3; ++t) {
      AppendNumberItem(out, game.takenWhite[k][t]);
      AppendNumberItem(out, game.takenBlack[k][t]);
    }
  }
  AppendTextItem(out, game.recordRtf);
  return out;
}

GameFileContents ParseGameFile(const std::string& bytes) {
  ItemReader in(bytes);
  GameFileContents game;

  std::string first = in.Next();
  std::erase(first, '"');
  // Only a whole number: reading "abc" or "1e400" as 0 would take the next
  // game's items for this one's.
  game.moveNumber = ParseWholeNumber(first);
  if (game.moveNumber < 0) throw std::out_of_range("Subscript out of range");
  if (game.moveNumber > kMaxGameFileMove) throw RuntimeError(ZVK_ErrorLog::kErrOverflow, "Overflow");

  game.comment = in.Next();

  // Positions are added as they are read, so a declared length the file
  // does not hold costs no more memory than the file itself.
  for (int32_t m = 0; m <= game.moveNumber; ++m) {
    ZVK_Engine::EngineBoard board;
    for (int y = -1; y <= 10; ++y) {
      for (int x = -1; x <= 10; ++x) board(x, y) = in.NextNumber();
    }
    CheckBoard(board);
    game.log.push_back(board);
  }
  for (size_t k = 0; k <= kTakenRows; ++k) {
    for (size_t t = 0; t < 3; ++t) {
      game.takenWhite[k][t] = ToCell16(in.NextNumber());
      game.takenBlack[k][t] = ToCell16(in.NextNumber());
    }
  }
  game.recordRtf = in.Next();
  if (!in.AtEnd()) throw RuntimeError(ZVK_ErrorLog::kErrInvalidCall, "Data after the last item of the game file");
  return game;
}

GameFileContents ReadGameFile(const std::string& path) { return ParseGameFile(ReadWholeFile(path)); }

bool SaveCompleteGame(const std::string& path) {
  return Guarded("SaveCompleteGame of Modul ZVK_Board_Sub", [&] {
    GameFileContents game;
    game.moveNumber = ZVK_Engine::gMoveNumber;
    if (game.moveNumber < 0 || static_cast<size_t>(game.moveNumber) >= ZVK_Engine::gGameLog.size()) {
      throw std::out_of_range("Subscript out of range");
    }
    game.log.assign(ZVK_Engine::gGameLog.begin(), ZVK_Engine::gGameLog.begin() + game.moveNumber + 1);
    game.comment = TheRecordWindow().txtCommentText();
    game.takenWhite = gTakenWhite;
    game.takenBlack = gTakenBlack;
    game.recordRtf = txtMoveList().ToRtf();
    const std::string bytes = FormatGameFile(game);

    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) throw RuntimeError(ZVK_ErrorLog::kErrPathNotFound, "Path not found");
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
      throw RuntimeError(ZVK_ErrorLog::kErrPathAccess, "Path/File access error");
    }
  });
}

bool LoadCompleteGame(const std::string& path) {
  bool loaded = false;
  Guarded("LoadCompleteGame of Modul ZVK_Board_Sub", [&] {
    if (!ZVK_File_Dir::FileExists(path)) {
      platform::MsgBox("Game File not available", 4112, ZVK_ErrorLog::ApplicationTitle());
      return;
    }
    GameFileContents game = ReadGameFile(path);
    // The comment box holds Unicode text: a comment from an older or
    // foreign file in the single-byte code page keeps its characters rather
    // than turning into replacement marks when it is saved again.
    const std::string comment = platform::WellFormedUtf8(game.comment);
    RecordWindow& window = TheRecordWindow();
    // A box that cut the comment would have the next save write the cut
    // text: such a game is not taken over at all.
    const auto length = static_cast<size_t>(QString::fromStdString(comment).size());
    if (length > window.txtCommentCapacity()) {
      platform::MsgBox("The comment of this game has " + std::to_string(length) +
                           " characters, more than the comment box can hold (" +
                           std::to_string(window.txtCommentCapacity()) + ").\r\nThe game was not loaded.",
                       4144, ZVK_ErrorLog::ApplicationTitle());
      return;
    }

    // The whole file is read: take the game over.
    ZVK_Engine::gMoveNumber = game.moveNumber;
    window.SetTxtCommentText(comment);
    ZVK_Engine::gGameLog = std::move(game.log);
    ZVK_Engine::NotePositionChanged();
    gTakenWhite = game.takenWhite;
    gTakenBlack = game.takenBlack;
    SetGameRecord(platform::RichTextDocument::FromRtf(game.recordRtf));
    loaded = true;

    const auto shown = static_cast<int16_t>(game.moveNumber);
    ZVK_Engine::Window().SetHScroll1Max(shown);
    ZVK_Engine::Window().SetHScroll1Value(shown);
    window.HScroll1_Change();
    Update_Board();
    Correct_TakenPieces();
  });
  return loaded;
}

}  // namespace ZVK_Board_Sub
