#include <gtest/gtest.h>

#include "correspondence/Naming.h"

using namespace correspondence;

namespace {

TEST(Naming, OneGameGivesEveryName) {
  const std::string id = InternetGameId("000123456", QDateTime(QDate(2026, 2, 3), QTime(14, 5, 59)));
  ASSERT_EQ(id, "0001234562602031405");
  const std::string stem = ExchangeStem(id);
  ASSERT_EQ(stem, "00012345626020314050000");
  EXPECT_EQ(GameIdOfStem(stem), id);
  const std::pair<std::string, const char*> rows[] = {
      {OfferInfoName(stem), "00012345626020314050000n.txt"},  {OfferArchiveName(stem), "00012345626020314050000n.zip"},
      {JoinInfoName(stem), "00012345626020314050000j.txt"},   {JoinArchiveName(stem), "00012345626020314050000j.zip"},
      {LastGameName(stem), "00012345626020314050000g.chi"},   {ReceivedGameName(stem), "00012345626020314050000r.chi"},
      {ExchangeArchiveName(stem), "00012345626020314050000g.zip"}, {ClosedInfoName(stem), "00012345626020314050000c.txt"},
      {ClosedArchiveName(stem), "00012345626020314050000c.zip"},
      // The half-move number takes the place of the stem's zeros.
      {MoveNoteName(id, 7), "00012345626020314050007m.txt"},  {MoveNoteName(id, 1234), "00012345626020314051234m.txt"},
      {LocalCopyName(id), "0001234562602031405g.chs"},        {ConnectionTestName("000123456"), "000123456.tst"},
      // Hours run to 23, years have two digits.
      {InternetGameId("999999999", QDateTime(QDate(2009, 12, 31), QTime(23, 59))), "9999999990912312359"},
  };
  for (const auto& [name, expected] : rows) EXPECT_EQ(name, expected);
}

TEST(Naming, OnlyDigitTextsOfTheRightLengthCount) {
  const std::tuple<const char*, bool, bool, bool> cases[] = {  // machine, game id, stem
      {"000123456", true, false, false},
      {"0001234562602031405", false, true, false},
      {"00012345626020314050000", false, false, true},
      {"0001234562602031405000", false, false, false},    // one short
      {"000123456260203140500000", false, false, false},  // one long
      {"../../../../../../etc/xx", false, false, false},
      {"", false, false, false},
  };
  for (const auto& [text, machine, id, stem] : cases) {
    EXPECT_EQ(std::tuple(IsMachineId(text), IsInternetGameId(text), IsExchangeStem(text)), std::tuple(machine, id, stem))
        << text;
  }
}

}  // namespace
