#include "board/GameFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <optional>
#include <tuple>

#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"
#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;

namespace {

// A game of n half-moves: knights wander so every position differs; captures
// at half-moves 2 to 7; a record in every colour the program writes.
GameFileContents MakeGame(int32_t n, const std::string& comment) {
  GameFileContents game;
  game.moveNumber = n;
  game.comment = comment;
  auto board = recordtest::StartBoard();
  game.log.push_back(board);
  const char* shuffle[][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};
  for (int32_t m = 1; m <= n; ++m) {
    recordtest::MovePiece(board, shuffle[(m - 1) % 4][0], shuffle[(m - 1) % 4][1]);
    if (m % 97 == 0) board(1 + m % 8, 4) = (m % 2 == 0) ? 90 : -32;
    game.log.push_back(board);
  }
  for (int16_t k = 1; k <= 3; ++k) {
    game.takenWhite[k] = {k, 16, static_cast<int16_t>(2 * k)};
    game.takenBlack[k] = {k, 6, static_cast<int16_t>(2 * k + 1)};
  }
  platform::RichTextDocument record;
  for (const auto& [text, color] : {std::pair{"1  White Pawn at E:2 to E:4\r\n", 0x80},
                                    {"2  Black Pawn at E:7 to E:5\r\n", 0},
                                    {"     changed to movement # 1\r\n", 0x8000},
                                    {"White King at E:1\r\n", 0xFF0000},
                                    {"CPU suggestion :\r\n", 0x800000}}) {
    record.Append(text, color);
  }
  game.recordRtf = record.ToRtf();
  return game;
}

std::vector<std::string> Lines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at = bytes.find("\r\n"); at != std::string::npos; at = bytes.find("\r\n", start)) {
    lines.push_back(bytes.substr(start, at - start));
    start = at + 2;
  }
  return lines;
}

class GameFileTest : public recordtest::RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    QDir().mkpath(QString::fromStdString(Path("games")));
  }

  // Puts a game into the running state as play would have left it.
  void Install(const GameFileContents& game) {
    ZVK_Engine::gMoveNumber = game.moveNumber;
    ZVK_Engine::gGameLog = game.log;
    ZVK_Engine::gVirtualBoard = game.log.back();
    engine.sliderMax = engine.sliderValue = static_cast<int16_t>(game.moveNumber);
    window.comment = game.comment;
    gTakenWhite = game.takenWhite;
    gTakenBlack = game.takenBlack;
    SetGameRecord(platform::RichTextDocument::FromRtf(game.recordRtf));
  }

  // Everything a load may change, in the file's terms, with the shown position and the slider.
  std::tuple<GameFileContents, ZVK_Engine::EngineBoard, int16_t, int16_t> Take() {
    const GameFileContents now{ZVK_Engine::gMoveNumber, window.comment, ZVK_Engine::gGameLog,
                               gTakenWhite,             gTakenBlack,    txtMoveList().ToRtf()};
    return {now, ZVK_Engine::gVirtualBoard, engine.sliderMax, engine.sliderValue};
  }

  std::string Path(const char* name) { return tree.path(name); }
};

TEST_F(GameFileTest, RoundTripsThroughSaveAndLoad) {
  const std::pair<int32_t, std::string> cases[] = {
      {0, " enter here ..."},
      {9, "first line,\r\nsecond, line\r\n\r\n  third"},
      {4, "\"quoted\" and \"\" and a \"\r\nlast\""},
      {3, ""},
      {kMaxGameFileMove, "the longest game the slider takes"},
  };
  for (const auto& [moves, comment] : cases) {
    const GameFileContents game = MakeGame(moves, comment);
    Install(game);
    ASSERT_TRUE(SaveCompleteGame(Path("games/test.chs"))) << comment;

    Install(MakeGame(2, "other"));  // something else is running when the file is loaded
    window.sliderChanges = 0;
    ASSERT_TRUE(LoadCompleteGame(Path("games/test.chs"))) << comment;
    // Everything taken over; the slider's maximum is set before its value
    // (a value above the old maximum would be cut) and the last position shown.
    const auto m = static_cast<int16_t>(moves);
    EXPECT_TRUE(Take() == std::tuple(game, game.log.back(), m, m)) << comment;
    EXPECT_EQ(window.sliderChanges, 1) << comment;
    EXPECT_EQ(ZVK_Globals::gColorToMove, moves % 2 == 0 ? ZVK_Globals::kWhite : ZVK_Globals::kBlack) << comment;
    EXPECT_EQ(gTakenBlackCount + gTakenWhiteCount, std::clamp(moves - 1, 0, 6)) << comment;
  }
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(GameFileTest, LayoutOfAFileWithoutDoubleQuotes) {
  const std::string bytes = FormatGameFile(MakeGame(1, "line one\r\nline two"));
  const auto lines = Lines(bytes);
  EXPECT_EQ(lines[0], "\"1\"");  // the exchange compares this line with the quotes removed
  EXPECT_EQ(lines[1], "\"line one");
  EXPECT_EQ(lines[2], "line two\"");
  // Two boards of 144 cells, x fastest, rank -1 first: the first row is border.
  EXPECT_EQ(std::vector<std::string>(lines.begin() + 3, lines.begin() + 15), std::vector<std::string>(12, "2"));
  EXPECT_EQ(lines[3 + 24 + 2], "-50");      // a1 of half-move 0 (after the rows of ranks -1 and 0)
  EXPECT_EQ(lines[3 + 24 + 8], "-30");      // g1 of half-move 0
  EXPECT_EQ(lines[3 + 144 + 24 + 8], "0");  // g1 of half-move 1: the knight went to f3
  // Table row 1: white column 0, black column 0, white column 1, ...
  const auto tables = lines.begin() + 3 + 2 * 144;
  EXPECT_EQ(std::vector<std::string>(tables + 6, tables + 12),
            (std::vector<std::string>{"1", "1", "16", "6", "2", "3"}));
  EXPECT_EQ(tables[102].substr(0, 6), "\"{\\rtf");
  EXPECT_EQ(bytes.substr(bytes.size() - 6), "}\r\n\"\r\n");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '"'), 6);  // three quoted items, nothing inside them
  // Half-move 0: 2 + 144 + 102 + 1 items.
  EXPECT_EQ(Lines(FormatGameFile(MakeGame(0, "c")))[2 + 144 + 102].substr(0, 6), "\"{\\rtf");
}

TEST_F(GameFileTest, DoubleQuotesAreDoubledAndClassicItemFormsStillRead) {
  GameFileContents game = MakeGame(0, "say \"hi\"");
  game.recordRtf = "plain \"record\"";
  const std::string bytes = FormatGameFile(game);
  EXPECT_NE(bytes.find("\"say \"\"hi\"\"\"\r\n"), std::string::npos);
  EXPECT_EQ(ParseGameFile(bytes), game);

  // Blanks before items, an unquoted first item, LF or CR line ends, commas
  // between items, text after a closing quote, no final line end.
  const auto log = MakeGame(9, "").log;
  std::string classic = "  9 \n\"note, with comma\" ignored\r";
  for (const auto& board : log) {
    for (size_t i = 0; i < 144; ++i) {
      classic += (i % 2 == 0 ? " " : "") + std::to_string(board.cells[i]) + (i % 3 == 0 ? "," : "\r\n");
    }
  }
  for (int i = 0; i < 102; ++i) classic += "0\n";
  classic += "\"{\\rtf1 {\\colortbl;\\red0\\green128\\blue0;}\\cf1 x\\par}\"";
  const GameFileContents read = ParseGameFile(classic);
  EXPECT_EQ(read.moveNumber, 9);
  EXPECT_EQ(read.comment, "note, with comma");
  EXPECT_EQ(read.log, log);
  EXPECT_EQ(platform::RichTextDocument::FromRtf(read.recordRtf).Runs(),
            (std::vector<platform::RichTextRun>{{"x\r\n", 0x8000}}));
}

TEST_F(GameFileTest, MissingAndDamagedFilesFailCleanlyAndChangeNothing) {
  const std::string good = FormatGameFile(MakeGame(3, "c"));
  const auto lines = Lines(good);
  auto join = [&](size_t count, size_t replaced = SIZE_MAX, const std::string& text = "") {
    std::string out;
    for (size_t i = 0; i < count; ++i) out += (i == replaced ? text : lines[i]) + "\r\n";
    return out;
  };
  auto with = [&](size_t line, const std::string& text) { return join(lines.size(), line, text); };
  const size_t firstTable = 2 + 4 * 144;
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"missing file", std::nullopt},
      {"empty file", ""},
      {"cut inside the positions", good.substr(0, good.size() / 3)},
      {"cut inside the tables", join(firstTable + 50)},
      {"no record item", join(firstTable + 102)},
      {"record quote never closed", good.substr(0, good.size() - 3)},
      {"number with letters in a cell", with(40, "10x")},
      {"empty cell", with(40, "")},
      {"cell beyond 32 bits", with(40, "99999999999")},
      {"border cell not 2", with(2, "0")},
      {"unknown piece code", with(2 + 144 + 40, "7")},
      {"table value beyond 16 bits", with(firstTable + 5, "70000")},
      {"half-move above the slider", with(0, "\"32768\"")},
      {"huge half-move", with(0, "\"99999999999999999999\"")},
      {"negative half-move", with(0, "\"-1\"")},
      {"longest half-move with few positions", with(0, "\"32767\"")},
  };
  for (const auto& [name, bytes] : cases) {
    Install(MakeGame(5, "running"));
    const auto before = Take();
    QFile::remove(QString::fromStdString(Path("games/bad.chs")));
    if (bytes) testsupport::WriteFile(Path("games/bad.chs"), *bytes);
    QFile::remove(QString::fromStdString(ZVK_ErrorLog::ErrorLogPath()));
    platform::ScriptedAnswerer answers;
    EXPECT_FALSE(LoadCompleteGame(Path("games/bad.chs"))) << name;
    EXPECT_TRUE(Take() == before) << name;
    // A missing file is the user's message; a damaged one goes to the error log.
    std::string shown;
    for (const auto& call : answers.Calls()) shown += call.text + "|" + std::to_string(call.style) + "|" + call.title;
    EXPECT_EQ(shown, bytes ? "" : "Game File not available|4112|" + ZVK_ErrorLog::ApplicationTitle()) << name;
    EXPECT_EQ(ErrorLog().find("LoadCompleteGame of Modul ZVK_Board_Sub") != std::string::npos, bytes.has_value())
        << name;
  }
  // The classic error numbers; a half-move is judged after rounding (32767.5 is 32768).
  const std::pair<const char*, int32_t> numbers[] = {{"", ZVK_ErrorLog::kErrInputPastEnd},
                                                     {"\"70000\"\r\n", ZVK_ErrorLog::kErrOverflow},
                                                     {"\"32767.5\"\r\n", ZVK_ErrorLog::kErrOverflow}};
  for (const auto& [bytes, number] : numbers) {
    try {
      ParseGameFile(bytes);
      ADD_FAILURE() << "no error for " << bytes;
    } catch (const ZVK_ErrorLog::RuntimeError& e) {
      EXPECT_EQ(e.number(), number) << bytes;
    }
  }
}

TEST_F(GameFileTest, SavingReplacesTheWholeFileAndNeverLeavesAHalfWrittenOne) {
  const std::string path = Path("games/keep.chs");
  testsupport::WriteFile(path, std::string(2'000'000, 'x'));
  Install(MakeGame(2, "new"));
  ASSERT_TRUE(SaveCompleteGame(path));
  EXPECT_EQ(testsupport::ReadFile(path), FormatGameFile(MakeGame(2, "new")));

  // A game that cannot be written (the log is shorter than the move number)
  // fails before the old file is touched.
  ZVK_Engine::gMoveNumber = 7;
  EXPECT_FALSE(SaveCompleteGame(path));
  EXPECT_EQ(testsupport::ReadFile(path), FormatGameFile(MakeGame(2, "new")));
  EXPECT_NE(ErrorLog().find("SaveCompleteGame of Modul ZVK_Board_Sub"), std::string::npos);

  EXPECT_FALSE(SaveCompleteGame(Path("no/such/folder/x.chs")));
  // No scratch files stay behind.
  EXPECT_EQ(QDir(QString::fromStdString(Path("games"))).entryList(QDir::Files), QStringList{"keep.chs"});
}

}  // namespace
