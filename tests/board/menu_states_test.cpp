#include "board/MenuStates.h"

#include <gtest/gtest.h>

#include "tests/board/RecordTestKit.h"

using namespace ZVK_Board_Sub;

namespace {

const char* const kMenus[] = {"mnuPause",    "mnuChangeMode", "mnuAddProfile",    "mnuDleteProfile", "mnuMove",
                              "mnuDangerShow", "mnuEdit",     "mnuChangeSide",    "mnuLoadGameStart", "mnuImportPGN"};

class MenuStatesTest : public recordtest::RecordTest {
 protected:
  // Positions 1..25 that are enabled, as text ("1 2 3 ...").
  std::string EnabledButtons() const {
    std::string out;
    for (size_t i = 0; i < window.toolbarEnabled.size(); ++i) {
      if (window.toolbarEnabled[i]) out += std::to_string(i + 1) + " ";
    }
    return out;
  }
  std::string EnabledMenus() {
    std::string out;
    for (const char* m : kMenus) {
      if (window.menusEnabled[m]) out += std::string(m) + " ";
    }
    return out;
  }
};

TEST_F(MenuStatesTest, TournamentClosesHelpsAndPauseOnlyInCorrespondence) {
  struct Case {
    const char* mode;
    const char* menus;
    const char* buttons;
  };
  const Case cases[] = {
      {"OfflinePC", "mnuPause ", "3 4 9 10 13 14 16 20 21 22 23 24 25 "},
      {"OfflinePP", "mnuPause ", "3 4 9 10 13 14 16 20 21 22 23 24 25 "},
      {"OnlinePP", "", "3 4 9 10 14 16 20 21 22 23 24 25 "},
  };
  for (const auto& c : cases) {
    ZVK_Globals::gGameMode = c.mode;
    SetTrainingMenu();
    SetTournamentMenu();
    EXPECT_EQ(EnabledMenus(), c.menus) << c.mode;
    EXPECT_EQ(EnabledButtons(), c.buttons) << c.mode;
    // A second call changes nothing.
    SetTournamentMenu();
    EXPECT_EQ(EnabledMenus(), c.menus) << c.mode;
    EXPECT_EQ(EnabledButtons(), c.buttons) << c.mode;
  }
}

TEST_F(MenuStatesTest, TournamentLeavesUntouchedButtonsAsTheyWere) {
  window.toolbarEnabled.assign(25, false);
  ZVK_Globals::gGameMode = "OfflinePC";
  SetTournamentMenu();
  EXPECT_EQ(EnabledButtons(), "13 ");
}

TEST_F(MenuStatesTest, TrainingAfterTournamentEnablesEverythingSeparatorsIncluded) {
  ZVK_Globals::gGameMode = "OnlinePP";
  SetTournamentMenu();
  SetTrainingMenu();
  EXPECT_EQ(EnabledMenus(),
            "mnuPause mnuChangeMode mnuAddProfile mnuDleteProfile mnuMove mnuDangerShow mnuEdit mnuChangeSide "
            "mnuLoadGameStart mnuImportPGN ");
  EXPECT_EQ(window.toolbarEnabled, std::vector<bool>(25, true));
  SetTrainingMenu();
  EXPECT_EQ(window.toolbarEnabled, std::vector<bool>(25, true));
}

TEST_F(MenuStatesTest, ShortToolbarLogsAndKeepsWhatWasDone) {
  window.toolbarEnabled.assign(12, true);
  ZVK_Globals::gGameMode = "OfflinePC";
  SetTournamentMenu();  // position 13 does not exist
  EXPECT_NE(ErrorLog().find("SetTournamentMenu of Modul ZVK_Board_Sub"), std::string::npos);
  EXPECT_TRUE(window.menusEnabled["mnuPause"]);
  EXPECT_EQ(window.menusEnabled.count("mnuEdit"), 0u);  // the procedure ended before it
}

}  // namespace
