#include <gtest/gtest.h>

#include "correspondence/Naming.h"

using namespace correspondence;

namespace {

TEST(Naming, OneGameGivesEveryName) {
  const QDateTime offered(QDate(2026, 2, 3), QTime(14, 5, 59));
  const std::string id = InternetGameId("000123456", offered);
  ASSERT_EQ(id, "0001234562602031405");
  const std::string stem = ExchangeStem(id);
  ASSERT_EQ(stem, "00012345626020314050000");
  EXPECT_EQ(GameIdOfStem(stem), id);

  struct Row {
    std::string name;
    const char* expected;
  };
  const Row rows[] = {
      {OfferInfoName(stem), "00012345626020314050000n.txt"},
      {OfferArchiveName(stem), "00012345626020314050000n.zip"},
      {JoinInfoName(stem), "00012345626020314050000j.txt"},
      {JoinArchiveName(stem), "00012345626020314050000j.zip"},
      {LastGameName(stem), "00012345626020314050000g.chi"},
      {ReceivedGameName(stem), "00012345626020314050000r.chi"},
      {ExchangeArchiveName(stem), "00012345626020314050000g.zip"},
      {ClosedInfoName(stem), "00012345626020314050000c.txt"},
      {ClosedArchiveName(stem), "00012345626020314050000c.zip"},
      // The half-move number takes the place of the stem's zeros; the local
      // copy has no zeros at all.
      {MoveNoteName(id, 7), "00012345626020314050007m.txt"},
      {MoveNoteName(id, 1234), "00012345626020314051234m.txt"},
      {LocalCopyName(id), "0001234562602031405g.chs"},
      {ConnectionTestName("000123456"), "000123456.tst"},
  };
  for (const auto& r : rows) EXPECT_EQ(r.name, r.expected);
  // Hours run to 23, years have two digits.
  EXPECT_EQ(InternetGameId("999999999", QDateTime(QDate(2009, 12, 31), QTime(23, 59))), "9999999990912312359");
}

TEST(Naming, OnlyDigitTextsOfTheRightLengthCount) {
  struct Case {
    const char* text;
    bool machine, id, stem;
  };
  const Case cases[] = {
      {"000123456", true, false, false},
      {"0001234562602031405", false, true, false},
      {"00012345626020314050000", false, false, true},
      {"0001234562602031405000", false, false, false},    // one short
      {"000123456260203140500000", false, false, false},  // one long
      {"../../../../../../etc/xx", false, false, false},
      {" 0012345626020314050000", false, false, false},  // a blank is no digit
      {"00012345626020314050000\n", false, false, false},
      {"", false, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsMachineId(c.text), c.machine) << c.text;
    EXPECT_EQ(IsInternetGameId(c.text), c.id) << c.text;
    EXPECT_EQ(IsExchangeStem(c.text), c.stem) << c.text;
  }
}

}  // namespace
