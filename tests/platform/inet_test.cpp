// The transfer control against real loopback servers.
#include "platform/Inet.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <filesystem>
#include <set>
#include <sstream>

#include "platform/AppPath.h"
#include "tests/fixtures/Servers.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using platform::Inet;

namespace {

// Drives the control the way the program's command runner does: one command,
// wait while it executes, collect the states and, after state 12, the data.
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
    inet.OnStateChanged([this](int16_t state) {
      states.push_back(state);
      if (state == platform::icResponseCompleted) {
        for (std::string chunk = inet.GetChunk(1024); !chunk.empty(); chunk = inet.GetChunk(1024))
          chunks.push_back(chunk);
      }
    });
  }

  // Runs one command; returns its last state.
  int Run(const std::string& command) {
    states.clear();
    chunks.clear();
    EXPECT_TRUE(inet.Execute(command)) << command;
    QElapsedTimer clock;
    clock.start();
    while (inet.StillExecuting() && clock.elapsed() < 30000)
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_FALSE(inet.StillExecuting()) << command << " never ended";
    return states.empty() ? -1 : states.back();
  }

  std::string Data() const {
    std::string all;
    for (const auto& chunk : chunks) all += chunk;
    return all;
  }

  Inet inet;
  std::vector<int> states;
  std::vector<std::string> chunks;
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
  // The first command opens the connection: every step is reported in order.
  EXPECT_EQ(s.states, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 12}));
  EXPECT_EQ(s.Run("CD test"), platform::icResponseCompleted);
  // Later commands reuse the open connection.
  EXPECT_EQ(s.states, (std::vector<int>{5, 6, 7, 8, 12}));

  EXPECT_EQ(s.Run("PUT " + Quote(Local("up.zip")) + " 0001234562602031405g.zip"), 12);
  EXPECT_EQ(testsupport::ReadFile(server.remotePath("test/0001234562602031405g.zip")), payload);

  testsupport::WriteFile(Local("down.zip"), "an older download");  // replaced on success
  EXPECT_EQ(s.Run("GET 0001234562602031405g.zip " + Quote(Local("down.zip"))), 12);
  EXPECT_EQ(testsupport::ReadFile(Local("down.zip")), payload);
  EXPECT_EQ(s.Run("DELETE 0001234562602031405g.zip"), 12);
  EXPECT_FALSE(fs::exists(server.remotePath("test/0001234562602031405g.zip")));

  EXPECT_EQ(s.Run("CLOSE"), platform::icDisconnected);
  EXPECT_EQ(s.states, (std::vector<int>{9, 10}));
  // After CLOSE the next command logs in again, back in the login folder.
  EXPECT_EQ(s.Run("CD www"), 12);
  EXPECT_EQ(s.states.front(), 1);
  EXPECT_EQ(s.Run("CD games"), 12);
  // Also when the connection was lost on the way: its folders are gone with it.
  s.Run("CLOSE");
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

TEST_F(InetFtp, ListingArrivesInOrderInChunksOfAtMost1024) {
  std::set<std::string> expected;
  for (int i = 0; i < 80; ++i) {
    std::ostringstream name;
    name << "000123456260203" << (1000 + i) << "0000n.zip";
    expected.insert(name.str());
    testsupport::WriteFile(server.remotePath("offered/" + name.str()), "x");
  }
  Session s(server.url());
  s.Run("CD www");
  s.Run("CD offered");
  ASSERT_EQ(s.Run("LS *.*"), 12);
  ASSERT_GT(s.chunks.size(), 2u);
  for (size_t i = 0; i + 1 < s.chunks.size(); ++i) EXPECT_EQ(s.chunks[i].size(), 1024u);
  EXPECT_LE(s.chunks.back().size(), 1024u);

  std::set<std::string> names;
  std::istringstream lines(s.Data());
  for (std::string line; std::getline(lines, line);) names.insert(line.substr(0, line.find('\r')));
  EXPECT_EQ(names, expected);

  // A failed change keeps the folder.
  EXPECT_EQ(s.Run("CD missing"), 11);
  EXPECT_EQ(s.Run("LS *.*"), 12);
  EXPECT_NE(s.Data().find(*expected.begin()), std::string::npos);
}

// Every failure ends the command in state 11, returns control to the caller
// and leaves no local file behind.
TEST_F(InetFtp, FailuresEndInStateElevenAndLeaveNoLocalFile) {
  // The last command must fail.
  struct Case { const char* what; std::string password; std::vector<std::string> commands;
                uint64_t maxGet = UINT64_MAX; };
  const std::string target = Local("got.zip");
  const std::string get = "GET 0001234562602031405g.zip " + Quote(target);
  const std::string ok = fixtures::FtpServer::kPassword;
  testsupport::WriteFile(server.remotePath("games/x.zip"), "there: only the name may refuse it");
  const std::vector<Case> cases = {
      {"missing remote file", ok, {"CD www", "CD games", get}},
      {"wrong password", "wrong", {"CD www"}},
      {"missing folder", ok, {"CD www", "CD nosuchfolder"}},
      {"delete of a missing file", ok, {"CD www", "CD test", "DELETE none.tst"}},
      {"put of a missing local file", ok, {"CD www", "CD test", "PUT " + Quote(Local("none.zip")) + " none.zip"}},
      {"remote name with a path", ok, {"CD www", "GET ../www/games/x.zip " + Quote(target)}},
      {"line break in a remote name", ok, {"CD www", "DELETE a\r\nRMD games"}},
      {"unknown command", ok, {"FORMAT C:"}},
      {"file larger than a get may bring", ok, {"CD www", "CD test", "GET big.zip " + Quote(target)}, 69999},
  };
  testsupport::WriteFile(server.remotePath("test/big.zip"), Bytes(70000));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Session s(server.url(), c.password);
    s.inet.SetMaxGetSize(c.maxGet);
    for (size_t i = 0; i + 1 < c.commands.size(); ++i) EXPECT_EQ(s.Run(c.commands[i]), 12);
    EXPECT_EQ(s.Run(c.commands.back()), platform::icError);
    EXPECT_EQ(std::count(s.states.begin(), s.states.end(), platform::icError), 1);
    EXPECT_FALSE(fs::exists(target));
    EXPECT_FALSE(fs::exists(target + ".part"));
    EXPECT_FALSE(s.inet.LastError().empty());
    s.Run("CLOSE");
  }
  EXPECT_TRUE(fs::exists(server.remotePath("games"))) << "no command may reach beyond its folder";
}

// A disk that fills up as the last buffered bytes go out: the get has failed,
// even though every byte came from the server.
TEST_F(InetFtp, GetWhoseFinalWriteFailsEndsInStateElevenAndLeavesNoFile) {
  TEST_NEEDS(fs::exists("/dev/full"), "no /dev/full");
  testsupport::WriteFile(server.remotePath("games/0001234562602031405g.zip"), Bytes(300));
  const std::string target = Local("got.zip");
  fs::create_symlink("/dev/full", target + ".part");  // where the data is written first
  Session s(server.url());
  EXPECT_EQ(s.Run("CD www"), 12);
  EXPECT_EQ(s.Run("CD games"), 12);
  EXPECT_EQ(s.Run("GET 0001234562602031405g.zip " + Quote(target)), platform::icError);
  EXPECT_EQ(std::count(s.states.begin(), s.states.end(), platform::icResponseCompleted), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(target)));
  EXPECT_FALSE(fs::exists(fs::symlink_status(target + ".part")));
  EXPECT_FALSE(s.inet.LastError().empty());
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

TEST(InetNoServer, UnreachableServerEndsInStateEleven) {
  Session s("ftp://127.0.0.1:" + std::to_string(fixtures::UnusedPort()));
  EXPECT_EQ(s.Run("CD www"), 11);
  EXPECT_EQ(s.states.front(), 1);
  EXPECT_EQ(std::count(s.states.begin(), s.states.end(), platform::icConnected), 0);
}

TEST(InetNoServer, SilentServerTimesOut) {
  // Accepts connections (the system completes them) but never says a word.
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(fd, 4), 0);
  ASSERT_EQ(getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length), 0);

  Session s("ftp://127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
  s.inet.SetRequestTimeout(1);
  EXPECT_EQ(s.Run("CD www"), 11);
  close(fd);
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
      {"nothing configured", nullptr, "", platform::kDefaultFtpHost},
      {"file with comments", nullptr, "# the game server\n\n  ftp.chess.example.net  \r\n", "ftp.chess.example.net"},
      {"environment wins", "10.0.0.7:21", "ftp.chess.example.net\n", "10.0.0.7:21"},
      {"user info refused", nullptr, "evil@ftp.example.net\n", platform::kDefaultFtpHost},
      {"path refused", "ftp.example.net/../x", "", platform::kDefaultFtpHost},
      {"bracketed IPv6 with a port", nullptr, "[::1]:2121\n", "[::1]:2121"},
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
