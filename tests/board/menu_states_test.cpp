#include "board/MenuStates.h"

#include <gtest/gtest.h>

#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;

namespace {

class MenuStatesTest : public recordtest::RecordTest {
 protected:
  // The enabled governed menus, the move slider and toolbar positions, as text.
  std::string Enabled() {
    std::string out = window.moveSliderEnabled ? "HScroll1 " : "";
    for (const char* m : {"mnuPause", "mnuChangeMode", "mnuAddProfile", "mnuDleteProfile", "mnuMove", "mnuDangerShow",
                          "mnuEdit", "mnuChangeSide", "mnuLoadGameStart", "mnuImportPGN"}) {
      out += window.menusEnabled[m] ? std::string(m) + " " : "";
    }
    out += "|";
    for (size_t i = 0; i < window.toolbarEnabled.size(); ++i) {
      out += window.toolbarEnabled[i] ? " " + std::to_string(i + 1) : "";
    }
    return out;
  }
};

TEST_F(MenuStatesTest, TournamentClosesHelpsTrainingOpensEverything) {
  struct Case { const char* mode; bool toolbarBefore; const char* enabled; };  // every button on or off before
  const Case cases[] = {
      {"OfflinePC", true, "mnuPause | 3 4 9 10 13 14 16 20 21 22 23 24 25 26"},
      {"OfflinePP", true, "mnuPause | 3 4 9 10 13 14 16 20 21 22 23 24 25 26"},
      {"OnlinePP", true, "| 3 4 9 10 14 16 20 21 22 23 24 25 26"},
      {"OfflinePC", false, "mnuPause | 13"},  // buttons it does not govern keep their state
  };
  for (const auto& c : cases) {
    ZVK_Globals::gGameMode = c.mode;
    SetTrainingMenu();
    window.toolbarEnabled.assign(26, c.toolbarBefore);
    for (int call = 1; call <= 2; ++call) {  // a second call changes nothing
      SetTournamentMenu();
      EXPECT_EQ(Enabled(), c.enabled) << c.mode << " call " << call;
    }
    // A training game after it enables every menu and button, separators included.
    SetTrainingMenu();
    EXPECT_EQ(Enabled(),
              "HScroll1 mnuPause mnuChangeMode mnuAddProfile mnuDleteProfile mnuMove mnuDangerShow mnuEdit mnuChangeSide "
              "mnuLoadGameStart mnuImportPGN | 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20 21 22 23 24 25 26")
        << c.mode;
  }
}

TEST_F(MenuStatesTest, ShortToolbarIsLoggedNotFatal) {
  window.toolbarEnabled.assign(12, true);
  ZVK_Globals::gGameMode = "OfflinePC";
  SetTournamentMenu();  // position 13 does not exist
  EXPECT_NE(ErrorLog().find("SetTournamentMenu of Modul ZVK_Board_Sub"), std::string::npos);
  EXPECT_FALSE(window.moveSliderEnabled);  // no move is taken back in the tournament all the same
}

}  // namespace
