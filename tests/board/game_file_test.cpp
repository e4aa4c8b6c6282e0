#include "board/GameFile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "board/GameRecord.h"
#include "board/TakenPieces.h"
#include "engine/EngineWindow.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"
#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;
using recordtest::MovePiece;

namespace {

// Records the move slider's settings in the order they are made.
class SliderWindow : public ZVK_Engine::EngineWindow {
 public:
  std::vector<std::string> calls;
  void SetProgresoMax(int32_t) override {}
  void SetProgresoValue(int32_t) override {}
  int32_t ProgresoValue() override { return 0; }
  void SetLblJpenCaption(const std::string&) override {}
  void RefreshLblJpen() override {}
  void SetLblPlayCaption(const std::string&) override {}
  bool LblwwCheckVisible() override { return false; }
  bool LblbbCheckVisible() override { return false; }
  int32_t SldLevelValue() override { return 1; }
  void SetHScroll1Max(int16_t max) override { calls.push_back("max " + std::to_string(max)); }
  void SetHScroll1Value(int16_t value) override { calls.push_back("value " + std::to_string(value)); }
  void SetMnuNewGameEnabled(bool) override {}
  void SetMnuLoadGameStartEnabled(bool) override {}
  void SetTbButtonEnabled(int, bool) override {}
  int MsgBox(const std::string&, int, const std::string&) override { return 1; }
};

// A game of n half-moves: knights and rooks wander so every position differs.
GameFileContents MakeGame(int32_t n, const std::string& comment) {
  GameFileContents game;
  game.moveNumber = n;
  game.comment = comment;
  auto board = recordtest::StartPosition();
  game.log.push_back(board);
  const char* shuffle[][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};
  for (int32_t m = 1; m <= n; ++m) {
    MovePiece(board, shuffle[(m - 1) % 4][0], shuffle[(m - 1) % 4][1]);
    if (m % 97 == 0) board(1 + m % 8, 4) = (m % 2 == 0) ? 90 : -32;  // some variety
    game.log.push_back(board);
  }
  for (int k = 1; k <= 3; ++k) {
    game.takenWhite[k] = {static_cast<int16_t>(k), 16, static_cast<int16_t>(2 * k)};
    game.takenBlack[k] = {static_cast<int16_t>(k), 6, static_cast<int16_t>(2 * k + 1)};
  }
  platform::RichTextDocument record;
  record.Append("1  White Pawn at E:2 to E:4\r\n", 0x80);
  record.Append("2  Black Pawn at E:7 to E:5\r\n", 0);
  record.Append("     changed to movement # 1\r\n", 0x8000);
  record.Append("White King at E:1\r\n", 0xFF0000);
  record.Append("CPU suggestion :\r\n", 0x800000);
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
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

class GameFileTest : public recordtest::RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    ZVK_Engine::SetEngineWindow(&slider);
    MakeFolders();
  }
  void TearDown() override {
    ZVK_Engine::SetEngineWindow(nullptr);
    RecordTest::TearDown();
  }

  // Puts a game into the running state as play would have left it.
  void Install(const GameFileContents& game) {
    ZVK_Engine::gMoveNumber = game.moveNumber;
    ZVK_Engine::gGameLog = game.log;
    ZVK_Engine::gVirtualBoard = game.log.back();
    window.comment = game.comment;
    gTakenWhite = game.takenWhite;
    gTakenBlack = game.takenBlack;
    SetGameRecord(platform::RichTextDocument::FromRtf(game.recordRtf));
  }

  // Everything a load may change, to show that a failed load changed nothing.
  struct Snapshot {
    int32_t move;
    std::vector<ZVK_Engine::EngineBoard> log;
    ZVK_Engine::EngineBoard board;
    std::string comment;
    TakenTable white, black;
    platform::RichTextDocument record;
    bool operator==(const Snapshot&) const = default;
  };
  Snapshot Take() {
    return {ZVK_Engine::gMoveNumber, ZVK_Engine::gGameLog, ZVK_Engine::gVirtualBoard, window.comment,
            gTakenWhite,             gTakenBlack,          txtMoveList()};
  }

  std::string Path(const char* name) { return tree.path(name); }

  // The folders the save commands create before they save.
  void MakeFolders() {
    QDir().mkpath(QString::fromStdString(Path("games")));
    QDir().mkpath(QString::fromStdString(Path("InternetGame")));
  }

  SliderWindow slider;
};

TEST_F(GameFileTest, RoundTripsThroughSaveAndLoad) {
  struct Case {
    const char* name;
    int32_t moves;
    std::string comment;
  };
  const Case cases[] = {
      {"half-move 0", 0, " enter here ..."},
      {"a long game", 1500, "long"},
      {"comment with line breaks and commas", 9, "first line,\r\nsecond, line\r\n\r\n  third"},
      {"comment with double quotes", 4, "\"quoted\" and \"\" and a \"\r\nlast\""},
      {"empty comment", 3, ""},
      {"the longest game the slider takes", kMaxGameFileMove, ""},
  };
  for (const auto& c : cases) {
    const GameFileContents game = MakeGame(c.moves, c.comment);
    Install(game);
    ASSERT_TRUE(SaveCompleteGame(Path("games/test.chs"))) << c.name;

    Install(MakeGame(2, "other"));  // something else is running when the file is loaded
    slider.calls.clear();
    window.sliderChanges = 0;
    ASSERT_TRUE(LoadCompleteGame(Path("games/test.chs"))) << c.name;
    EXPECT_EQ(ZVK_Engine::gMoveNumber, c.moves) << c.name;
    EXPECT_EQ(ZVK_Engine::gGameLog, game.log) << c.name;
    EXPECT_EQ(window.comment, c.comment) << c.name;
    EXPECT_EQ(gTakenWhite, game.takenWhite) << c.name;
    EXPECT_EQ(gTakenBlack, game.takenBlack) << c.name;
    EXPECT_EQ(txtMoveList(), platform::RichTextDocument::FromRtf(game.recordRtf)) << c.name;
    EXPECT_EQ(window.moveList, txtMoveList()) << c.name;
    // The loaded position is shown, with the side to move by its parity.
    EXPECT_EQ(slider.calls, (std::vector<std::string>{"max " + std::to_string(c.moves),
                                                      "value " + std::to_string(c.moves)}))
        << c.name;
    EXPECT_EQ(window.sliderChanges, 1) << c.name;
    EXPECT_EQ(ZVK_Engine::gVirtualBoard, game.log.back()) << c.name;
    EXPECT_EQ(ZVK_Globals::gColorToMove, c.moves % 2 == 0 ? ZVK_Globals::kWhite : ZVK_Globals::kBlack) << c.name;
    EXPECT_EQ(gTakenBlackCount + gTakenWhiteCount, std::clamp(c.moves - 1, 0, 6)) << c.name;  // captures at 2..7
  }
  EXPECT_EQ(ErrorLog(), "");
}

TEST_F(GameFileTest, LayoutOfAFileWithoutDoubleQuotes) {
  const GameFileContents game = MakeGame(1, "line one\r\nline two");
  const std::string bytes = FormatGameFile(game);
  const auto lines = Lines(bytes);
  EXPECT_EQ(lines[0], "\"1\"");  // the exchange compares this line with the quotes removed
  EXPECT_EQ(lines[1], "\"line one");
  EXPECT_EQ(lines[2], "line two\"");
  // 2 x 144 cells, x fastest, rank -1 first: the first row of the first board is border.
  for (int i = 3; i < 3 + 12; ++i) EXPECT_EQ(lines[static_cast<size_t>(i)], "2");
  // Rank 1 starts after the rows of ranks -1 and 0; file a is its third cell.
  EXPECT_EQ(lines[3 + 24 + 2], "-50");        // a1 of half-move 0
  EXPECT_EQ(lines[3 + 24 + 8], "-30");        // g1 of half-move 0
  EXPECT_EQ(lines[3 + 144 + 24 + 8], "0");    // g1 of half-move 1: the knight went to f3
  const size_t tables = 3 + 2 * 144;
  // Row 1: white column 0, black column 0, white column 1, ...
  const std::vector<std::string> row1 = {"1", "1", "16", "6", "2", "3"};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(lines[tables + 6 + i], row1[i]);
  EXPECT_EQ(lines[tables + 102].substr(0, 6), "\"{\\rtf");
  EXPECT_EQ(bytes.substr(bytes.size() - 6), "}\r\n\"\r\n");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '"'), 6);  // three quoted items, nothing inside them

  // Half-move 0: 2 + 144 + 102 + 1 items.
  const auto zero = MakeGame(0, "c");
  const auto zeroLines = Lines(FormatGameFile(zero));
  EXPECT_EQ(zeroLines[2 + 144 + 102].substr(0, 6), "\"{\\rtf");
  EXPECT_EQ(zeroLines[2 + 144 + 101], "0");
}

TEST_F(GameFileTest, DoubleQuotesAreDoubledAndClassicItemFormsStillRead) {
  GameFileContents game = MakeGame(0, "say \"hi\"");
  game.recordRtf = "plain \"record\"";
  const std::string bytes = FormatGameFile(game);
  EXPECT_NE(bytes.find("\"say \"\"hi\"\"\"\r\n"), std::string::npos);
  EXPECT_EQ(ParseGameFile(bytes), game);

  // What the classic input rules also accept: blanks before items, an
  // unquoted first item, LF or CR line ends, commas between items, text
  // after a closing quote.
  std::string classic = "  9 \n\"note, with comma\" ignored\r";
  for (int m = 0; m <= 9; ++m) {
    for (int i = 0; i < 144; ++i) classic += (i % 2 == 0 ? " " : "") + std::to_string(MakeGame(9, "").log[m].cells[i]) + (i % 3 == 0 ? "," : "\r\n");
  }
  for (int i = 0; i < 102; ++i) classic += "0\n";
  classic += "\"{\\rtf1 {\\colortbl;\\red0\\green128\\blue0;}\\cf1 x\\par}\"";  // no final line end
  const GameFileContents read = ParseGameFile(classic);
  EXPECT_EQ(read.moveNumber, 9);
  EXPECT_EQ(read.comment, "note, with comma");
  EXPECT_EQ(read.log, MakeGame(9, "").log);
  EXPECT_EQ(platform::RichTextDocument::FromRtf(read.recordRtf).Runs(),
            (std::vector<platform::RichTextRun>{{"x\r\n", 0x8000}}));
}

TEST_F(GameFileTest, MissingFileShowsTheMessageAndChangesNothing) {
  Install(MakeGame(5, "running"));
  const Snapshot before = Take();
  platform::ScriptedAnswerer answers;
  EXPECT_FALSE(LoadCompleteGame(Path("games/nothing.chs")));
  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "Game File not available");
  EXPECT_EQ(answers.Calls()[0].style, 4112);
  EXPECT_EQ(answers.Calls()[0].title, ZVK_ErrorLog::ApplicationTitle());
  EXPECT_EQ(Take(), before);
  EXPECT_EQ(slider.calls.size(), 0u);
}

TEST_F(GameFileTest, DamagedFilesFailCleanlyAndChangeNothing) {
  const std::string good = FormatGameFile(MakeGame(3, "c"));
  const auto lines = Lines(good);
  auto join = [](const std::vector<std::string>& ls) {
    std::string out;
    for (const auto& l : ls) out += l + "\r\n";
    return out;
  };
  auto with = [&](size_t line, const std::string& text) {
    auto ls = lines;
    ls[line] = text;
    return join(ls);
  };
  const size_t firstTable = 2 + 4 * 144;
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"empty file", ""},
      {"only the half-move", "\"3\"\r\n"},
      {"cut inside the positions", good.substr(0, good.size() / 3)},
      {"cut inside the tables", join(std::vector<std::string>(lines.begin(), lines.begin() + firstTable + 50))},
      {"no record item", join(std::vector<std::string>(lines.begin(), lines.begin() + firstTable + 102))},
      {"record quote never closed", good.substr(0, good.size() - 3)},
      {"word in a cell", with(40, "abc")},
      {"number with letters in a cell", with(40, "10x")},
      {"empty cell", with(40, "")},
      {"cell beyond 32 bits", with(40, "99999999999")},
      {"border cell not 2", with(2, "0")},
      {"unknown piece code", with(2 + 144 + 40, "7")},
      {"table value beyond 16 bits", with(firstTable + 5, "70000")},
      {"word in a table", with(firstTable + 5, "x")},
      {"half-move above the slider", with(0, "\"32768\"")},
      {"huge half-move", with(0, "\"99999999999999999999\"")},
      {"negative half-move", with(0, "\"-1\"")},
      {"longest half-move with one position", with(0, "\"32767\"")},
  };
  for (const auto& c : cases) {
    Install(MakeGame(5, "running"));
    const Snapshot before = Take();
    slider.calls.clear();
    testsupport::WriteFile(Path("games/bad.chs"), c.bytes);
    QFile::remove(QString::fromStdString(ZVK_ErrorLog::ErrorLogPath()));
    EXPECT_FALSE(LoadCompleteGame(Path("games/bad.chs"))) << c.name;
    EXPECT_TRUE(Take() == before) << c.name;
    EXPECT_TRUE(slider.calls.empty()) << c.name;
    EXPECT_NE(ErrorLog().find("LoadCompleteGame of Modul ZVK_Board_Sub"), std::string::npos) << c.name;
  }
  // The same bytes fail the parser with the classic error numbers.
  const std::pair<const char*, int32_t> numbers[] = {
      {"", ZVK_ErrorLog::kErrInputPastEnd}, {"\"70000\"\r\n", ZVK_ErrorLog::kErrOverflow}};
  for (const auto& [bytes, number] : numbers) {
    try {
      ParseGameFile(bytes);
      ADD_FAILURE() << "no error for " << bytes;
    } catch (const ZVK_ErrorLog::RuntimeError& e) {
      EXPECT_EQ(e.number(), number);
    }
  }
}

TEST_F(GameFileTest, SavingReplacesTheWholeFileAndNeverLeavesAHalfWrittenOne) {
  const std::string path = Path("games/keep.chs");
  testsupport::WriteFile(path, std::string(2'000'000, 'x'));
  Install(MakeGame(2, "new"));
  ASSERT_TRUE(SaveCompleteGame(path));
  EXPECT_EQ(testsupport::ReadFile(path), FormatGameFile(MakeGame(2, "new")));

  // A game state that cannot be written (the log is shorter than the move
  // number) fails before the old file is touched.
  const std::string kept = testsupport::ReadFile(path);
  ZVK_Engine::gMoveNumber = 7;
  EXPECT_FALSE(SaveCompleteGame(path));
  EXPECT_EQ(testsupport::ReadFile(path), kept);
  EXPECT_NE(ErrorLog().find("SaveCompleteGame of Modul ZVK_Board_Sub"), std::string::npos);

  // A folder that does not exist: logged, nothing written.
  EXPECT_FALSE(SaveCompleteGame(Path("no/such/folder/x.chs")));
  // No scratch files stay behind in the games folder.
  const QStringList left = QDir(QString::fromStdString(Path("games"))).entryList(QDir::Files);
  EXPECT_EQ(left, QStringList{"keep.chs"});
}

}  // namespace
