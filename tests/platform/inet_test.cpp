// The transfer control against real loopback servers.
#include "platform/Inet.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "platform/AppPath.h"
#include "tests/fixtures/Servers.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using platform::Inet;

namespace {

// Drives the control the way the program's command runner does: one command,
// wait while it executes, collect the states.
class Session {
 public:
  explicit Session(const std::string& url, const std::string& password = fixtures::FtpServer::kPassword) {
    inet.SetAccessType(0);
    inet.SetProtocol(platform::icFTP);
    inet.SetRemotePort(21);
    inet.SetRequestTimeout(10);
    inet.SetURL(url);
    inet.SetUserName(fixtures::FtpServer::kUser);
    inet.SetPassword(password);
    inet.OnStateChanged([this](int16_t state) { states.push_back(state); });
  }

  // Runs one command; returns its last state.
  int Run(const std::string& command) {
    states.clear();
    EXPECT_TRUE(inet.Execute(command)) << command;
    QElapsedTimer clock;
    clock.start();
    while (inet.StillExecuting() && clock.elapsed() < 30000)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(inet.StillExecuting()) << command << " never ended";
    return states.empty() ? -1 : states.back();
  }

  Inet inet;
  std::vector<int> states;
};

std::string Quote(const std::string& path) { return "\"" + path + "\""; }

std::string Bytes(size_t count) {
  std::string bytes;
  for (size_t i = 0; i < count; ++i) bytes += static_cast<char>((i * 7 + i / 251) & 0xff);
  return bytes;
}

class InetFtp : public ::testing::Test {
 protected:
  void SetUp() override {
    TEST_NEEDS(server.running(), fixtures::kFtpDown);
  }
  std::string Local(const std::string& name) const { return local.path().toStdString() + "/" + name; }

  fixtures::FtpServer server;
  QTemporaryDir local;
};

TEST_F(InetFtp, PutAndGetRoundTripThroughOneConnection) {
  // Reached the way the program reaches its game server: the configured host
  // (here from the environment) with the port set before the address.
  server.useAsGameServer();
  Session s("ftp://" + platform::ConfiguredFtpHost());
  const std::string payload = Bytes(70000);  // several data blocks, every byte value
  testsupport::WriteFile(Local("up.zip"), payload);

  EXPECT_EQ(s.Run("CD www"), platform::icResponseCompleted);
  EXPECT_EQ(s.states, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 12}));  // every step of the login, in order
  EXPECT_EQ(s.Run("CD test"), platform::icResponseCompleted);
  EXPECT_EQ(s.Run("PUT " + Quote(Local("up.zip")) + " 0001234562602031405g.zip"), 12);
  EXPECT_EQ(testsupport::ReadFile(server.remotePath("test/0001234562602031405g.zip")), payload);

  testsupport::WriteFile(Local("down.zip"), "an older download");  // replaced on success
  EXPECT_EQ(s.Run("GET 0001234562602031405g.zip " + Quote(Local("down.zip"))), 12);
  EXPECT_EQ(testsupport::ReadFile(Local("down.zip")), payload);
  EXPECT_EQ(s.Run("DELETE 0001234562602031405g.zip"), 12);
  EXPECT_FALSE(fs::exists(server.remotePath("test/0001234562602031405g.zip")));

  EXPECT_EQ(s.Run("CLOSE"), platform::icDisconnected);
  // After CLOSE, or a connection lost on the way, the next command logs in
  // again, back in the login folder: the folders went with the connection.
  {
    fixtures::FtpServer lost;
    s.inet.SetURL(lost.url());
    EXPECT_EQ(s.Run("CD www"), 12);
    EXPECT_EQ(s.Run("CD games"), 12);
  }
  EXPECT_EQ(s.Run("PUT " + Quote(Local("up.zip")) + " 0001234562602031405g.zip"), platform::icError);
  s.Run("CLOSE");
  s.inet.SetURL(server.url());
  EXPECT_EQ(s.Run("CD www"), 12);
  EXPECT_EQ(s.Run("CD games"), 12);
}

// Every failure ends the command in state 11, returns control to the caller
// and leaves no local file behind.
TEST_F(InetFtp, FailuresEndInStateElevenAndLeaveNoLocalFile) {
  // The last command must fail.
  struct Case { const char* what; std::string password; std::vector<std::string> commands;
                uint64_t maxGet = UINT64_MAX; std::string url{}; bool diskFull = false; };
  const std::string target = Local("got.zip");
  const std::string get = "GET 0001234562602031405g.zip " + Quote(target);
  const std::string ok = fixtures::FtpServer::kPassword;
  testsupport::WriteFile(server.remotePath("games/x.zip"), "there: only the name may refuse it");
  const std::vector<Case> cases = {
      {"missing remote file", ok, {"CD www", "CD games", get}},
      {"wrong password", "wrong", {"CD www"}},
      {"missing folder", ok, {"CD www", "CD nosuchfolder"}},
      {"remote name with a path", ok, {"CD www", "GET ../www/games/x.zip " + Quote(target)}},
      {"line break in a remote name", ok, {"CD www", "DELETE a\r\nRMD games"}},
      // The disk fills up as the last buffered bytes go out, after every byte came.
      {"disk full", ok, {"CD www", "CD games", "GET x.zip " + Quote(target)}, UINT64_MAX, "", true},
      {"unreachable server", ok, {"CD www"}, UINT64_MAX, "ftp://127.0.0.1:" + std::to_string(fixtures::UnusedPort())},
      {"file larger than a get may bring", ok, {"CD www", "CD test", "GET big.zip " + Quote(target)}, 69999},
  };
  testsupport::WriteFile(server.remotePath("test/big.zip"), Bytes(70000));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Session s(c.url.empty() ? server.url() : c.url, c.password);
    s.inet.SetMaxGetSize(c.maxGet);
    if (c.diskFull) fs::create_symlink("/dev/full", target + ".part");  // where the data is written first
    for (size_t i = 0; i + 1 < c.commands.size(); ++i) EXPECT_EQ(s.Run(c.commands[i]), 12);
    EXPECT_EQ(s.Run(c.commands.back()), platform::icError);
    EXPECT_EQ(std::count(s.states.begin(), s.states.end(), platform::icError), 1);
    EXPECT_FALSE(fs::exists(fs::symlink_status(target)));
    EXPECT_FALSE(fs::exists(fs::symlink_status(target + ".part")));
    EXPECT_FALSE(s.inet.LastError().empty());
    s.Run("CLOSE");
  }
  EXPECT_TRUE(fs::exists(server.remotePath("games"))) << "no command may reach beyond its folder";
}

// After a folder change that failed, every command but CLOSE fails rather
// than act in the folder the connection stayed in; CLOSE starts afresh.
TEST_F(InetFtp, AfterAFailedFolderChangeNothingButCloseRuns) {
  Session s(server.url());
  testsupport::WriteFile(Local("up.zip"), "a move");
  testsupport::WriteFile(server.remotePath("x.zip"), "in www");
  const std::string put = "PUT " + Quote(Local("up.zip")) + " up.zip";
  EXPECT_EQ(s.Run("CD www"), 12);
  EXPECT_EQ(s.Run("CD nosuchfolder"), platform::icError);
  for (const std::string& command : {put, std::string("LS *.*"), "GET x.zip " + Quote(Local("x.zip")),
                                     std::string("DELETE x.zip"), std::string("CD games")})
    EXPECT_EQ(s.Run(command), platform::icError) << command;
  EXPECT_TRUE(!fs::exists(server.remotePath("up.zip")) && fs::exists(server.remotePath("x.zip")));

  EXPECT_EQ(s.Run("CLOSE"), platform::icDisconnected);
  for (const std::string& command : {std::string("CD www"), std::string("CD games"), put}) EXPECT_EQ(s.Run(command), 12);
  EXPECT_TRUE(fs::exists(server.remotePath("games/up.zip")));
}

TEST_F(InetFtp, SecondCommandIsRefusedWhileOneRuns) {
  Session s(server.url());
  ASSERT_TRUE(s.inet.Execute("CD www"));
  EXPECT_TRUE(s.inet.StillExecuting());
  EXPECT_FALSE(s.inet.Execute("CD games"));
  EXPECT_EQ(s.inet.OpenURL(), "");
  while (s.inet.StillExecuting()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  EXPECT_EQ(s.states.back(), 12);
  EXPECT_EQ(std::count(s.states.begin(), s.states.end(), 12), 1);
}

// The fixture's hold, which tests rely on to act while a transfer is certain
// to be under way: a data command waits at the server until it is let go,
// one at a time; commands that move no data are not held.
TEST_F(InetFtp, AHeldDataCommandWaitsUntilItIsLetGo) {
  Session s(server.url());
  fs::create_directories(server.remotePath("games"));
  std::ofstream(server.remotePath("games/a.zip")) << "archive";
  server.hold();
  EXPECT_EQ(s.Run("CD www"), 12);
  EXPECT_EQ(s.Run("CD games"), 12);
  for (const std::string& command : {std::string("LS"), "GET a.zip " + Quote(Local("a.zip"))}) {
    SCOPED_TRACE(command);
    ASSERT_TRUE(s.inet.Execute(command));
    QElapsedTimer clock;
    clock.start();
    while (server.waiting() == 0 && clock.elapsed() < 10000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    for (int turn = 0; turn < 20; ++turn) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(server.waiting() == 1 && s.inet.StillExecuting());
    EXPECT_TRUE(server.letOneGo());
    while (s.inet.StillExecuting()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(s.states.back(), 12);
  }
  EXPECT_EQ(testsupport::ReadFile(Local("a.zip")), "archive");
  server.release();
  EXPECT_EQ(s.Run("LS"), 12);
}

TEST(InetHttp, AHeldFetchWaitsUntilTheHoldEnds) {
  fixtures::HttpServer server;
  TEST_NEEDS(server.running(), fixtures::kHttpDown);
  server.put("v.txt", "versions");
  server.putPaused("halves.txt", "first, second", 0);
  for (const char* document : {"v.txt", "halves.txt"}) {
    SCOPED_TRACE(document);
    server.hold();
    Inet inet;
    inet.SetURL(server.url(document));
    int stillHeld = 0;  // event-loop turns the fetch was seen held for
    QTimer watch;
    watch.callOnTimeout([&] {
      if (server.waiting() == 0) return;
      if (++stillHeld == 20) server.release();
    });
    watch.start(1);
    EXPECT_EQ(inet.OpenURL(), std::string(document) == "v.txt" ? "versions" : "first, second");
    EXPECT_GE(stillHeld, 20);
  }
}

TEST(InetHttp, OpenUrlReturnsTheDocumentOrNothing) {
  fixtures::HttpServer server;
  TEST_NEEDS(server.running(), fixtures::kHttpDown);
  server.put("big.txt", std::string((1u << 20) + 1, 'x'));

  Inet inet;
  inet.SetRemotePort(21);  // left from an FTP connection: the address sets the port again
  for (const std::string& url : {server.url("big.txt"), std::string("file:///etc/passwd"),
                                 "http://127.0.0.1:" + std::to_string(fixtures::UnusedPort()) + "/v.txt"}) {
    SCOPED_TRACE(url);
    inet.SetURL(url);
    inet.SetProtocol(platform::icHTTP);
    EXPECT_EQ(inet.OpenURL(), "");
    EXPECT_FALSE(inet.StillExecuting());
  }
}

TEST(InetFtpHost, ConfigurationOrder) {
  testsupport::ProgramTree tree;
  const std::string file = platform::FtpHostFilePath();
  // The environment (nullptr: unset), the file (empty: none) and the host taken.
  struct Case { const char* what; const char* environment; std::string fileText, expected; };
  const std::vector<Case> cases = {
      {"file with comments", nullptr, "# the game server\n\n  ftp.chess.example.net  \r\n", "ftp.chess.example.net"},
      {"environment wins", "10.0.0.7:21", "ftp.chess.example.net\n", "10.0.0.7:21"},
      {"user info refused", nullptr, "evil@ftp.example.net\n", platform::kDefaultFtpHost},
      {"path refused", "ftp.example.net/../x", "", platform::kDefaultFtpHost},
      {"NUL inside the brackets", nullptr, std::string("[::1\0\0]:21\n", 11), platform::kDefaultFtpHost},
      {"port out of range", "ftp.example.net:65536", "", platform::kDefaultFtpHost},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(file);
    if (!c.fileText.empty()) testsupport::WriteFile(file, c.fileText);
    if (c.environment != nullptr) setenv(platform::kFtpHostVariable, c.environment, 1);
    else unsetenv(platform::kFtpHostVariable);
    EXPECT_EQ(platform::ConfiguredFtpHost(), c.expected);
  }
  unsetenv(platform::kFtpHostVariable);
}

}  // namespace
