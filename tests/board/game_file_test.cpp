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
  for (const auto& [text, color] : {std::pair{"1  White Pawn at E:2 to E:4\r\n", 0x80}, {"2  Black Pawn\r\n", 0},
                                    {"  changed to movement # 1\r\n", 0x8000}, {"White King at E:1\r\n", 0xFF0000},
                                    {"CPU suggestion :\r\n", 0x800000}})
    record.Append(text, color);
  game.recordRtf = record.ToRtf();
  return game;
}

using testsupport::Lines;

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
      {kMaxGameFileMove, "the longest game the slider takes"},
  };
  for (const auto& [moves, comment] : cases) {
    const GameFileContents game = MakeGame(moves, comment);
    Install(game);
    ASSERT_TRUE(SaveCompleteGame(Path("games/test.chs"))) << comment;

    GameFileContents other = MakeGame(2, "other");  // something else is running when the file is loaded
    other.recordRtf.clear();
    Install(other);
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

// Files of older versions hold the comment in the single-byte code page:
// its characters survive loading and saving again, and UTF-8 stays as it is.
TEST_F(GameFileTest, ACommentInTheCodePageKeepsItsCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"K\xE4se \x80 5\xB0", "K\xC3\xA4se \xE2\x82\xAC 5\xC2\xB0"},
      {"caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
  };
  for (const auto& [stored, shown] : cases) {
    testsupport::WriteFile(Path("games/old.chs"), FormatGameFile(MakeGame(1, stored)));
    ASSERT_TRUE(LoadCompleteGame(Path("games/old.chs")));
    EXPECT_EQ(window.comment, shown);
    ASSERT_TRUE(SaveCompleteGame(Path("games/again.chs")));
    EXPECT_EQ(ParseGameFile(testsupport::ReadFile(Path("games/again.chs"))).comment, shown);
  }
}

TEST_F(GameFileTest, LayoutAndTheItemFormsOfOtherWriters) {
  const GameFileContents game = MakeGame(1, "line one,\r\nline two");
  const std::string bytes = FormatGameFile(game);
  const auto lines = Lines(bytes);
  // The exchange compares the first line with the quotes removed.
  EXPECT_EQ(std::vector(lines.begin(), lines.begin() + 3),
            (std::vector<std::string>{"\"1\"", "\"line one,", "line two\""}));
  // Two boards of 144 cells, x fastest, rank -1 first: border 2, then a1 and g1 of half-move 0
  // (after the rows of ranks -1 and 0) and g1 of half-move 1, where the knight has left.
  EXPECT_EQ((std::vector{lines[3], lines[3 + 24 + 2], lines[3 + 24 + 8], lines[3 + 144 + 24 + 8]}),
            (std::vector<std::string>{"2", "-50", "-30", "0"}));
  // Table row 1: white column 0, black column 0, white column 1, ...
  const auto tables = lines.begin() + 3 + 2 * 144;
  EXPECT_EQ(std::vector(tables + 6, tables + 12), (std::vector<std::string>{"1", "1", "16", "6", "2", "3"}));
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '"'), 6);  // three quoted items, nothing inside them
  // A double quote inside a text item is written doubled.
  EXPECT_EQ(Lines(FormatGameFile(MakeGame(0, "say \"hi\"")))[1], "\"say \"\"hi\"\"\"");

  // Other writers: blanks before items, an unquoted first item, commas, LF or CR between
  // items, text after a closing quote, no final line end.
  std::string other = " 1 \n " + lines[1] + "\r\n" + lines[2] + " ignored\r";
  for (size_t i = 3; i < 3 + 2 * 144 + 102; ++i) other += (i % 2 == 0 ? " " : "") + lines[i] + ",\n\r"[i % 3];
  const size_t record = bytes.find("\"{\\rtf");
  EXPECT_EQ(ParseGameFile(other + bytes.substr(record, bytes.size() - 2 - record)), game);
}

TEST_F(GameFileTest, MissingAndDamagedFilesFailCleanlyAndChangeNothing) {
  const std::string good = FormatGameFile(MakeGame(3, "c"));
  const auto lines = Lines(good);
  auto with = [&](size_t line, const std::string& text) {
    std::string out;
    for (size_t i = 0; i < lines.size(); ++i) out += (i == line ? text : lines[i]) + "\r\n";
    return out;
  };
  struct Case { const char* name; std::optional<std::string> bytes; const char* error; };
  const Case cases[] = {
      {"missing file", std::nullopt, ""},
      {"cut inside the positions", good.substr(0, good.size() / 3), "Input past end of file"},
      {"number with letters in a cell", with(40, "10x"), "Type mismatch"},
      {"border cell not 2", with(2, "0"), "Invalid position in the game file"},
      {"half-move above the slider", with(0, "\"32768\""), "Overflow"},
      {"half-move smaller than the positions", with(0, "\"0\""), "Data after the last item"},
      {"negative half-move", with(0, "\"-1\""), "Subscript out of range"},
  };
  for (const auto& c : cases) {
    Install(MakeGame(5, "running"));
    const auto before = Take();
    QFile::remove(QString::fromStdString(Path("games/bad.chs")));
    if (c.bytes) testsupport::WriteFile(Path("games/bad.chs"), *c.bytes);
    QFile::remove(QString::fromStdString(ZVK_ErrorLog::ErrorLogPath()));
    platform::ScriptedAnswerer answers;
    EXPECT_FALSE(LoadCompleteGame(Path("games/bad.chs"))) << c.name;
    EXPECT_TRUE(Take() == before) << c.name;
    // A missing file is the user's message; a damaged one goes to the error log.
    EXPECT_EQ(answers.Calls().size(), c.bytes ? 0u : 1u) << c.name;
    const std::string log = ErrorLog();
    EXPECT_EQ(log.find("LoadCompleteGame of Modul ZVK_Board_Sub") != std::string::npos, c.bytes.has_value()) << c.name;
    EXPECT_NE(log.find(c.error), std::string::npos) << c.name << "\n" << log;
  }
}

TEST_F(GameFileTest, SavingReplacesTheWholeFileAndNeverLeavesAHalfWrittenOne) {
  const std::string path = Path("games/keep.chs"), written = FormatGameFile(MakeGame(2, "new"));
  testsupport::WriteFile(path, std::string(2'000'000, 'x'));
  Install(MakeGame(2, "new"));
  ASSERT_TRUE(SaveCompleteGame(path));
  ZVK_Engine::gMoveNumber = 7;  // the log is shorter: the game cannot be written
  EXPECT_FALSE(SaveCompleteGame(path));
  EXPECT_NE(ErrorLog().find("SaveCompleteGame of Modul ZVK_Board_Sub"), std::string::npos);
  EXPECT_FALSE(SaveCompleteGame(Path("no/such/folder/x.chs")));
  EXPECT_EQ(testsupport::ReadFile(path), written);
  EXPECT_EQ(QDir(QString::fromStdString(Path("games"))).entryList(QDir::Files), QStringList{"keep.chs"});
}

}  // namespace
