// The FTP command runner over the real transfer control and a loopback server.
#include "correspondence/FtpRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <vector>

#include "platform/Inet.h"
#include "tests/correspondence/ExchangeTestKit.h"
#include "tests/fixtures/Servers.h"
#include "tests/main/TestSupport.h"

namespace fs = std::filesystem;
using namespace correspondence;

namespace {

class QuietView : public FtpConnectionView {
 public:
  bool TraceSwitchOn() const override { return false; }
  void ShowTransferState(const std::string&) override {}
};

class FtpRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TEST_NEEDS(server.running(), fixtures::kFtpDown);
    server.useAsGameServer();
    gFtpResponseFile.clear();
    inet.OnStateChanged([&](int16_t state) { runner.StateChanged(state); });
  }
  void TearDown() override { gFtpResponseFile.clear(); }

  testsupport::ProgramTree tree;
  exchangetest::FastWaits waits;
  fixtures::FtpServer server;
  platform::Inet inet;
  QuietView view;
  FtpRunner runner{inet, view};
};

TEST_F(FtpRunnerTest, LongListingArrivesWholeAndInOrder) {
  std::set<std::string> names;
  for (int i = 0; i < 80; ++i) {
    const std::string name = "0001234562602031405" + std::to_string(1000 + i) + "n.zip";
    testsupport::WriteFile(server.remotePath("offered/" + name), "x");
    names.insert(name);
  }
  gFtpResponseFile = tree.path("listing.tmp");
  runner.IniFTP("offered");
  runner.SendCommand("LS *.*");
  runner.SendCommand("CLOSE");

  const std::string listing = testsupport::ReadFile(gFtpResponseFile);
  ASSERT_GT(listing.size(), 2u * kResponseChunk);
  // Every name once and nothing else: a lost, doubled or reordered piece
  // would break a name apart.
  const std::vector<std::string> lines = testsupport::Lines(listing);
  EXPECT_EQ(std::multiset<std::string>(lines.begin(), lines.end()), std::multiset<std::string>(names.begin(), names.end()));
}

}  // namespace
