// Correspondence games through the main window and a real loopback FTP
// server: two installations playing each other, and the ways a fetch or a
// send goes wrong.
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMovie>
#include <chrono>
#include <filesystem>
#include <functional>
#include <set>

#include "correspondence/ExchangeFiles.h"
#include "correspondence/FtpRunner.h"
#include "correspondence/Naming.h"
#include "correspondence/NewMove.h"
#include "correspondence/Packing.h"
#include "board/GameFile.h"
#include "platform/AppPath.h"
#include "platform/Inet.h"
#include "support/ZVK_ErrorLog.h"
#include "support/ZVK_GetSystemInfos.h"
#include "tests/app/AppTestSupport.h"
#include "tests/correspondence/ExchangeTestKit.h"
#include "tests/fixtures/Servers.h"

namespace apptest {
namespace {

namespace fs = std::filesystem;
namespace C = correspondence;

// Names of the files in a folder ("" set when it does not exist).
std::set<std::string> FilesIn(const std::string& dir) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    if (entry.is_regular_file()) names.insert(entry.path().filename().string());
  return names;
}

class ExchangeFixture : public MainWindowFixture {
 protected:
  void SetUp() override {
    MainWindowFixture::SetUp();
    C::gFtpResponseFile.clear();
  }
  void TearDown() override {
    MainWindowFixture::TearDown();
    C::gInternetGameID.clear();
    C::gFtpResponseFile.clear();
    unsetenv(platform::kFtpHostVariable);
  }

  // Makes a program tree the running installation: its program folder, its
  // settings roots and its machine number (from its Common/MachineId.txt).
  static void Activate(const testsupport::ProgramTree& t) {
    setenv("XDG_CONFIG_HOME", t.path("config").c_str(), 1);
    setenv("CASTELLAN_MACHINE_DIR", t.path("machine").c_str(), 1);
    platform::SetAppPath(t.programDir());
    ZVK_GetSystemInfos::GetPCInfos();
    C::gFtpResponseFile.clear();
  }

  // A fresh main window, as at the program's start.
  void NewWindow() {
    form.reset();
    form = std::make_unique<app::fMainForm>();
    form->Form_Initialize();
    app::SetCheckValue(form->chkMoveAnimation, 0);
    answers.Clear();
  }

  std::string Dir() const { return C::InternetGameDir(); }
  std::string Stem() const { return C::ExchangeStem(C::gInternetGameID); }

  // A correspondence game of this installation at half-move 1 (White has
  // played e2-e4), saved as the last exchanged game; the board is the
  // player's with White at the bottom.
  void GameAfterFirstMove() {
    C::gInternetGameID = "0000001012612062350";
    NewGame("OnlinePP", G::kWhite, 1);
    Move("e2", "e4");
    ASSERT_EQ(E::gMoveNumber, 1);
    fs::create_directories(Dir());
    ASSERT_TRUE(B::SaveCompleteGame(Dir() + C::LastGameName(Stem())));
  }

  // The partner's game after e7-e5 (half-move 2), or any file, packed as the
  // exchange archive at path.
  void PartnerArchive(const std::string& path, const std::string& gameBytes = "") {
    const std::string chi = tree.path("partner/" + C::LastGameName(Stem()));
    if (gameBytes.empty()) {
      const std::string mode = G::gGameMode;
      G::gGameMode = "OfflinePP";
      Move("e7", "e5");
      G::gGameMode = mode;
      fs::create_directories(tree.path("partner"));
      ASSERT_TRUE(B::SaveCompleteGame(chi));
      ASSERT_TRUE(B::LoadCompleteGame(Dir() + C::LastGameName(Stem())));  // back to half-move 1
    } else {
      testsupport::WriteFile(chi, gameBytes);
    }
    fs::create_directories(fs::path(path).parent_path());
    ASSERT_TRUE(C::PackSingleFile(chi, path));
  }

  bool Shown(const QWidget* w) const { return !w->isHidden(); }

  // The first line's half-move number of the game inside an exchange archive.
  double MoveNumberIn(const std::string& archive) {
    const std::string dir = tree.path("check/");
    fs::remove_all(dir);
    fs::create_directories(dir);
    if (!C::UnpackFirstEntry(archive, dir, "game.chi")) return -1;
    return C::FirstLineValue(testsupport::Lines(testsupport::ReadFile(dir + "game.chi")).at(0));
  }

  exchangetest::FastWaits waits;
};

// ---------------------------------------------------------------------------
// Two installations play each other.

class TwoInstallations : public ExchangeFixture {
 protected:
  // Installation A (this fixture's tree) offers with White; B joins.
  void SetUp() override {
    ExchangeFixture::SetUp();
    if (!server.running()) GTEST_SKIP() << "no FTP server";
    server.useAsGameServer();
    testsupport::WriteFile(tree.commonDir() + "/MachineId.txt", "000000101\n");
    testsupport::WriteFile(treeB.commonDir() + "/MachineId.txt", "# second copy\n000000202\n");

    Activate(tree);
    C::gInternetGameID = C::InternetGameId(ZVK_Identity::gMachineID, QDateTime(QDate(2026, 12, 6), QTime(23, 50)));
    stem = Stem();
    const std::string white = std::to_string(G::kWhite);
    C::WriteOfferInfoFile(C::OfferedDir() + C::OfferInfoName(stem),
                          {"", C::gInternetGameID, "Alice", "Norway", "english", white, "female", "31", ""});

    Activate(treeB);
    C::WriteJoinInfoFile(C::JoinedDir() + C::JoinInfoName(stem),
                         {"", ZVK_Identity::gMachineID, "Bob", "Chile", "english", white, "male", "45"});
  }

  // One side's turn, in a window of its own whose whole game state comes
  // from that installation's files: the game id from the name of its offer
  // or join file, its colour from that file, the game from its last
  // exchanged game. Downloads first when asked, then moves and sends.
  void Turn(const testsupport::ProgramTree& t, bool download, const char* from, const char* to) {
    Activate(t);
    NewWindow();
    const bool joining = !FilesIn(C::JoinedDir()).empty();
    const std::string infoDir = joining ? C::JoinedDir() : C::OfferedDir();
    const std::string info = *FilesIn(infoDir).begin();
    C::gInternetGameID = C::GameIdOfStem(info.substr(0, C::kStemLength));
    const int32_t offerer = std::stoi(joining ? C::ReadJoinInfoFile(infoDir + info).offererColour
                                              : C::ReadOfferInfoFile(infoDir + info).colour);
    const int32_t colour = joining ? (offerer == G::kWhite ? G::kBlack : G::kWhite) : offerer;
    NewGame("OnlinePP", colour, colour == G::kWhite ? 1 : -1);
    const std::string last = C::InternetGameDir() + C::LastGameName(Stem());
    if (fs::exists(last)) {
      ASSERT_TRUE(B::LoadCompleteGame(last));
    }
    const int before = E::gMoveNumber;
    if (download) {
      form->cmdDownloadMove->click();
      ASSERT_TRUE(answers.Calls().empty()) << answers.Calls().front().text;
      ASSERT_EQ(E::gMoveNumber, before + 1) << "the partner's move arrived";
      EXPECT_TRUE(form->picFrontBuffer->isEnabled());
    }
    if (from == nullptr) return;
    Move(from, to);
    ASSERT_EQ(E::gMoveNumber, before + (download ? 2 : 1)) << from << "-" << to;
    ASSERT_TRUE(Shown(form->cmdSendMove));
    form->cmdSendMove->click();
    EXPECT_FALSE(Shown(form->cmdSendMove));
    EXPECT_TRUE(Shown(form->cmdDownloadMove) && Shown(form->cmdSuspend));
    EXPECT_TRUE(answers.Calls().empty());
  }

  testsupport::ProgramTree treeB;
  fixtures::FtpServer server;
  std::string stem;
};

TEST_F(TwoInstallations, PlaySixHalfMovesThroughTheServer) {
  Turn(tree, false, "e2", "e4");
  const std::string offerOnServer = server.remotePath("offered/" + C::OfferArchiveName(stem));
  ASSERT_TRUE(fs::exists(offerOnServer));
  const auto offerTime = fs::last_write_time(offerOnServer);
  EXPECT_EQ(MoveNumberIn(server.remotePath("games/" + C::ExchangeArchiveName(stem))), 1);

  Turn(treeB, true, "e7", "e5");
  // The joining side sees the game from Black's side of the board: White's
  // pawn on e4 and its own on e5 stand where the turned board has them.
  EXPECT_EQ(B::gViewBoard(3, 3), 16) << "e4";
  EXPECT_EQ(B::gViewBoard(3, 4), 6) << "e5";
  EXPECT_EQ(B::gViewBoard(4, 4), 0);
  EXPECT_EQ(B::gViewBoard(4, 3), 0);
  Turn(tree, true, "g1", "f3");
  Turn(treeB, true, "b8", "c6");
  Turn(tree, true, "f1", "b5");
  Turn(treeB, true, "a7", "a6");

  // A fetches Black's sixth half-move and sees it from White's side.
  Turn(tree, true, nullptr, nullptr);
  EXPECT_EQ(E::gMoveNumber, 6);
  EXPECT_EQ(B::gViewBoard(0, 2), 6) << "Black's pawn on a6, seen with White at the bottom";
  EXPECT_EQ(B::gViewBoard(1, 3), 13) << "White's bishop on b5";
  EXPECT_NE(Record().find("Black Pawn at A:7 to A:6"), std::string::npos) << Record();
  // Even half-move, White to play: nothing to fetch or suspend meanwhile.
  EXPECT_FALSE(Shown(form->cmdDownloadMove) || Shown(form->cmdSuspend));

  // The server: the offer as put by the first send, never again; the latest game.
  EXPECT_EQ(FilesIn(server.remotePath("offered")), std::set<std::string>{C::OfferArchiveName(stem)});
  EXPECT_EQ(fs::last_write_time(offerOnServer), offerTime);
  EXPECT_EQ(FilesIn(server.remotePath("games")), std::set<std::string>{C::ExchangeArchiveName(stem)});
  EXPECT_EQ(MoveNumberIn(server.remotePath("games/" + C::ExchangeArchiveName(stem))), 6);
  EXPECT_TRUE(FilesIn(server.remotePath("joined")).empty());

  // Each side: its own move notes and local copy; the offer files only on A.
  const std::string id = C::GameIdOfStem(stem);
  struct Side {
    const testsupport::ProgramTree& t;
    const char* machine;
    std::vector<int> sent;
  };
  for (const Side& side : {Side{tree, "000000101", {1, 3, 5}}, Side{treeB, "000000202", {2, 4, 6}}}) {
    const std::string dir = side.t.programDir() + "/InternetGame/";
    std::set<std::string> expected = {C::LastGameName(stem), C::ExchangeArchiveName(stem), C::LocalCopyName(id)};
    for (int n : side.sent) {
      expected.insert(C::MoveNoteName(id, n));
      EXPECT_EQ(C::ReadMoveNoteFile(dir + C::MoveNoteName(id, n)).machineId, side.machine) << n;
    }
    if (side.machine == std::string("000000101")) expected.erase(C::ExchangeArchiveName(stem));  // taken over
    EXPECT_EQ(FilesIn(dir), expected) << side.machine;
  }
  EXPECT_EQ(FilesIn(tree.programDir() + "/InternetGame/offered"),
            (std::set<std::string>{C::OfferInfoName(stem), C::OfferArchiveName(stem)}));
  EXPECT_TRUE(FilesIn(treeB.programDir() + "/InternetGame/offered").empty());
  EXPECT_EQ(FilesIn(treeB.programDir() + "/InternetGame/joined"), std::set<std::string>{C::JoinInfoName(stem)});
}

// ---------------------------------------------------------------------------
// A fetch that brings no move, and a send with no server.

using ExchangeFailures = ExchangeFixture;

TEST_F(ExchangeFailures, FetchWithoutANewMoveShowsItsMessageAndChangesNothing) {
  fixtures::FtpServer server;
  fixtures::FtpServer otherPassword("not-the-account's");
  if (!server.running() || !otherPassword.running()) GTEST_SKIP() << "no FTP server";
  const std::string problem = "There was a download problem,\r\nPlease try again later";
  const std::string noMove = "No new move from your chess partner is currently available,\r\nPlease try again later";
  struct Case {
    const char* what;
    std::string host;
    std::string remoteGame;  // "": no archive on the server; "partner": half-move 2; else these bytes
    std::string message;
  };
  const Case cases[] = {
      {"server down", "127.0.0.1:" + std::to_string(fixtures::UnusedPort()), "", problem},
      {"wrong password", otherPassword.host(), "partner", problem},
      {"no archive on the server", server.host(), "", problem},
      {"same half-move", server.host(), "\"1\"\r\n", noMove},
      {"newer but not a game", server.host(), "\"9\"\r\n\"\"\r\nnot a board\r\n", problem},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameAfterFirstMove();
    for (const auto* s : {&server, &otherPassword})
      fs::remove(s->remotePath("games/" + C::ExchangeArchiveName(Stem())));
    if (!c.remoteGame.empty()) {
      const fixtures::FtpServer& holder = c.host == otherPassword.host() ? otherPassword : server;
      PartnerArchive(holder.remotePath("games/" + C::ExchangeArchiveName(Stem())),
                     c.remoteGame == "partner" ? "" : c.remoteGame);
    }
    setenv(platform::kFtpHostVariable, c.host.c_str(), 1);
    const std::string lastGame = testsupport::ReadFile(Dir() + C::LastGameName(Stem()));
    const std::string record = Record();
    const auto log = E::gGameLog;
    answers.Clear();

    form->cmdDownloadMove->click();

    ASSERT_EQ(answers.Calls().size(), 1u);
    EXPECT_EQ(answers.Calls()[0].text, c.message);
    EXPECT_EQ(answers.Calls()[0].style, 4144);
    EXPECT_EQ(answers.Calls()[0].title, "Castellan");
    EXPECT_TRUE(Shown(form->cmdDownloadMove) && Shown(form->cmdSuspend));
    EXPECT_TRUE(form->Animation1->isHidden());
    EXPECT_EQ(E::gMoveNumber, 1);
    EXPECT_EQ(E::gGameLog, log);
    EXPECT_EQ(Record(), record);
    EXPECT_EQ(testsupport::ReadFile(Dir() + C::LastGameName(Stem())), lastGame);
    // Nothing received is left to stand in for a later fetch.
    if (c.message == problem) {
      EXPECT_FALSE(fs::exists(Dir() + C::ReceivedGameName(Stem())));
    }
  }
}

TEST_F(ExchangeFailures, ArchiveFetchedEarlierIsTakenOverWithoutATransfer) {
  // No server at all: the move must come from the archive already here.
  setenv(platform::kFtpHostVariable, ("127.0.0.1:" + std::to_string(fixtures::UnusedPort())).c_str(), 1);
  GameAfterFirstMove();
  PartnerArchive(Dir() + C::ExchangeArchiveName(Stem()));
  app::SetCheckValue(form->chkTestInternetConnection, 1);
  fs::remove(ZVK_ErrorLog::ErrorLogPath());

  form->cmdDownloadMove->click();

  EXPECT_TRUE(answers.Calls().empty());
  EXPECT_EQ(E::gMoveNumber, 2);
  EXPECT_EQ(At("e5"), E::kPawn);
  // The connection is closed all the same; nothing else was sent.
  EXPECT_EQ(testsupport::Lines(testsupport::ReadFile(ZVK_ErrorLog::ErrorLogPath())),
            (std::vector<std::string>{"CLOSE", "successfully disconnected"}));
  EXPECT_EQ(FilesIn(Dir()), std::set<std::string>{C::LastGameName(Stem())});
  // Black has moved, White (this side) is to play: the fetch buttons stay away.
  EXPECT_FALSE(Shown(form->cmdDownloadMove));
  EXPECT_TRUE(form->picFrontBuffer->isEnabled());
}

TEST_F(ExchangeFailures, SendWithTheServerDownSaysSoAndKeepsTheMoveToSend) {
  setenv(platform::kFtpHostVariable, ("127.0.0.1:" + std::to_string(fixtures::UnusedPort())).c_str(), 1);
  GameAfterFirstMove();
  const std::string id = C::gInternetGameID;
  form->txtComment->setText("your move");

  form->cmdSendMove->click();

  ASSERT_EQ(answers.Calls().size(), 1u);
  EXPECT_EQ(answers.Calls()[0].text, "Your move could not be sent to the game server.\r\nPlease try again later");
  EXPECT_EQ(answers.Calls()[0].style, 4144);
  // The move can be sent again; there is no answer to fetch yet.
  EXPECT_TRUE(Shown(form->cmdSendMove));
  EXPECT_FALSE(Shown(form->cmdDownloadMove));
  EXPECT_TRUE(Shown(form->cmdSuspend));
  EXPECT_TRUE(form->Animation1->isHidden());
  const C::MoveNote note = C::ReadMoveNoteFile(Dir() + C::MoveNoteName(id, 1));
  EXPECT_EQ(note.comment, "your move");
  EXPECT_NE(note.recordLine.find("White Pawn at E:2 to E:4"), std::string::npos) << note.recordLine;
  EXPECT_EQ(MoveNumberIn(Dir() + C::ExchangeArchiveName(Stem())), 1);
}

// A game resumed from the load dialog offers the fetch only while the
// partner is to move, whichever colour this side plays.
TEST_F(ExchangeFailures, ResumedGameOffersTheFetchOnlyWhileThePartnerIsToMove) {
  GameAfterFirstMove();  // half-move 1: Black to move
  for (const int32_t colour : {G::kWhite, G::kBlack}) {
    SCOPED_TRACE(colour == G::kWhite ? "White" : "Black");
    G::gPlayerColor = colour;
    form->cmdDownloadMove->show();  // as the load dialog's OK leaves them
    form->cmdSuspend->show();
    form->LoadInternetPlay(Dir() + C::LastGameName(Stem()));
    ASSERT_EQ(E::gMoveNumber, 1);
    const bool partnersTurn = colour == G::kWhite;
    EXPECT_EQ(Shown(form->cmdDownloadMove), partnersTurn);
    EXPECT_EQ(Shown(form->cmdSuspend), partnersTurn);
  }
}

// The progress animation moves while a transfer runs. The waits after each
// command run on a clock four times as fast as the real one: long enough for
// several frames, short enough for a test.
TEST(ExchangeAnimation, PlaysTheTransfersPictureWhileItRuns) {
  const auto start = std::chrono::steady_clock::now();
  ZVK_Time::SetClock([start] {
    return 1000.0 + 4 * std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  });
  fixtures::FtpServer server;
  if (!server.running()) GTEST_SKIP() << "no FTP server";
  testsupport::ProgramTree tree;
  server.useAsGameServer();
  platform::ScriptedAnswerer answers;
  app::fMainForm form;
  form.Form_Initialize();
  C::gFtpResponseFile.clear();
  C::gInternetGameID = "0000001012612062350";
  G::gGameMode = "OnlinePP";
  E::Initial_Game();
  struct Case {
    const char* picture;
    std::function<void()> transfer;
  };
  const Case cases[] = {
      {"websend.gif", [&] { form.cmdSendMove_Click(); }},
      {"ftpdownload.gif", [&] { form.cmdDownloadMove_Click(); }},
  };
  for (const Case& c : cases) {
    std::set<std::string> pictures;
    std::set<int> frames;
    QTimer sample;
    QObject::connect(&sample, &QTimer::timeout, [&] {
      if (form.Animation1->isHidden() || form.Animation1->movie() == nullptr) return;
      const QMovie* movie = form.Animation1->movie();
      pictures.insert(fs::path(movie->fileName().toStdString()).filename().string());
      if (movie->state() == QMovie::Running) frames.insert(movie->currentFrameNumber());
    });
    sample.start(10);
    c.transfer();
    sample.stop();
    EXPECT_EQ(pictures, std::set<std::string>{c.picture});
    EXPECT_GE(frames.size(), 3u) << c.picture << " did not move";
    EXPECT_TRUE(form.Animation1->isHidden());
  }
  C::gInternetGameID.clear();
  G::gGameMode.clear();
  ZVK_Time::SetClock({});
}

}  // namespace
}  // namespace apptest
