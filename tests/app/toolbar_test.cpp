// The toolbar's buttons and drop-down entries run their menu entries'
// commands; the two-state buttons keep panels, menu checks and switches in step.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <filesystem>
#include <map>

#include "platform/SettingsStore.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class ToolbarTest : public MainWindowFixture {
 protected:
  // A game against the engine shown at half-move 4 of 6, White (the human) to move.
  void SetUpGame() {
    NewGame("OfflinePP", G::kWhite);
    for (auto [from, to] : {std::pair{"e2", "e4"}, {"e7", "e5"}, {"g1", "f3"}, {"b8", "c6"}, {"f1", "c4"},
                            {"g8", "f6"}})
      Move(from, to);
    G::gGameMode = "OfflinePC";
    G::gNavigating = G::kTrue;
    form->HScroll1->setValue(4);
    G::gNavigating = 0;
    B::Update_Board();
    answers.Clear();
    answers.Push(platform::vbNo);  // a closing question is answered No
  }

  // Everything a command of the window may change, in one comparable value.
  struct State {
    int32_t moveNumber, colorToMove, player;
    E::EngineBoard board;
    std::vector<E::EngineBoard> log;
    std::string record;
    std::vector<bool> panels, menuChecks, buttons;
    int clock, setup, level;
    std::string statusPanel;
    std::vector<std::string> messages;
    bool visible, startButton;
    bool operator==(const State&) const = default;
  };
  State Snapshot() const {
    State s{E::gMoveNumber, G::gColorToMove, G::gPlayerColor, E::gVirtualBoard, E::gGameLog, Record(), {}, {},
            {}, app::CheckValue(form->chkEnableClock), app::CheckValue(form->setup), form->sldLevel->value(),
            form->StatusBar->panel(2)->text().toStdString(), {}, form->isVisible(),
            form->cmdStartCPUMove->isVisible()};
    for (QWidget* p : form->picGameControl) s.panels.push_back(p->isVisible());
    for (QAction* a : {form->mnuTakenPieces, form->mnuOptions, form->mnuEdit, form->mnuPause})
      s.menuChecks.push_back(a->isChecked());
    for (const char* key : {"TAKENPIECES", "EDIT", "PAUSE", "OPTIONS"})
      s.buttons.push_back(form->tb->buttonByKey(key)->isChecked());
    for (const auto& call : answers.Calls()) s.messages.push_back(call.text);
    return s;
  }

  // Every menu entry of the window by name.
  std::map<std::string, QAction*> MenuEntries() const {
    std::map<std::string, QAction*> entries;
    for (QMenu* menu : {form->mnuFile, form->mnuGame, form->mnuMove, form->mnuHelp})
      for (QAction* a : menu->actions())
        if (!a->isSeparator()) entries[a->objectName().toStdString()] = a;
    return entries;
  }

  QAction* DropDownEntry(const QString& key) const {
    for (QAction* a : form->tb->buttonByKey("HELP")->menu()->actions())
      if (a->data().toString() == key) return a;
    return nullptr;
  }
};

// The keys whose commands this window carries out itself: the same effect
// from the toolbar as from the menu, and an effect at all.
TEST_F(ToolbarTest, AButtonHasTheSameEffectAsItsMenuEntry) {
  struct Case {
    const char* key;
    QAction* app::fMainForm::*entry;
  };
  using F = app::fMainForm;
  const Case cases[] = {
      {"UNDO", &F::mnuUndo},           {"REDO", &F::mnuRedo},       {"MOVEBACK", &F::mnuMoveBack},
      {"MOVEFORWARD", &F::mnuMoveForward}, {"GOTOBEGIN", &F::mnuGotoBegin}, {"GOTOEND", &F::mnuGotoLastMove},
      {"HINT", &F::mnuGiveHint},       {"CHANGESIDE", &F::mnuChangeSide}, {"EXIT", &F::mnuExit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    SetUpGame();
    const State before = Snapshot();
    if (QAction* button = form->tb->buttonByKey(c.key)) button->trigger();
    else form->tb_ButtonClick(c.key);  // keys that no button carries
    const State byButton = Snapshot();
    SetUpGame();
    (form.get()->*c.entry)->trigger();
    EXPECT_TRUE(Snapshot() == byButton);
    EXPECT_FALSE(byButton == before);
  }
}

// Every key reaches exactly its own menu entry, once, whatever command is
// connected to that entry; keys that match none (case and blanks count) reach nothing.
TEST_F(ToolbarTest, EveryKeyReachesExactlyItsMenuEntry) {
  struct Case {
    bool dropDown;
    const char* key;
    const char* entry;  // "" for none
  };
  const Case cases[] = {
      {false, "NEWGAME", "mnuNewGame"},     {false, "LOAD", "mnuLoadGameStart"},
      {false, "SAVE", "mnuSaveGame"},       {false, "UNDO", "mnuUndo"},
      {false, "REDO", "mnuRedo"},           {false, "MOVEBACK", "mnuMoveBack"},
      {false, "MOVEFORWARD", "mnuMoveForward"}, {false, "GOTOBEGIN", "mnuGotoBegin"},
      {false, "GOTOEND", "mnuGotoLastMove"}, {false, "HINT", "mnuGiveHint"},
      {false, "ROTATE", "mnuRotate"},       {false, "CHANGESIDE", "mnuChangeSide"},
      {false, "ADDPROFILE", "mnuAddProfile"}, {false, "DELETEPROFILE", "mnuDleteProfile"},
      {false, "HELP", "mnuHelpContent"},    {false, "HOME", "mnuHomepage"},
      {false, "UPDATE", "mnuUpdates"},      {false, "EXIT", "mnuExit"},
      {true, "HELPCONTENT", "mnuHelpContent"}, {true, "CHESSTUTORIAL", "mnuChessTutorial"},
      {true, "ONLINEHELP", "mnuOnlineHelp"}, {true, "ONLINEFORUM", "mnuForum"},
      {true, "ONLINEFAQ", "mnuFAQ"},        {true, "SENDBUGREPORT", "mnuSendBugReport"},
      {true, "HOMEPAGE", "mnuHomepage"},    {true, "OTHERPRODUCTS", "mnuOtherProducts"},
      {true, "SALESPARTNER", "mnuSalesPartner"}, {true, "ABOUT", "mnuAbout"},
      {false, "undo", ""},                  {false, "UNDO ", ""},
      {false, "", ""},                      {false, "ABOUT", ""},
      {false, "HELPCONTENT", ""},           {true, "HELP", ""},
      {true, "about", ""},                  {true, "NEWGAME", ""},
  };
  // Only counters listen to the entries, so no command of the window runs here.
  std::map<std::string, int> fired;
  for (const auto& [name, action] : MenuEntries()) {
    QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
    QObject::connect(action, &QAction::triggered, form.get(), [&fired, name = name] { ++fired[name]; });
  }
  // A whole menu switched off does not stop the toolbar's button.
  form->mnuMove->setEnabled(false);
  form->mnuUndo->setEnabled(false);
  SetUpGame();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.dropDown ? "drop-down " : "button ") + c.key);
    fired.clear();
    const State before = Snapshot();
    const QString key = QString::fromLatin1(c.key);
    QAction* control = c.dropDown ? DropDownEntry(key) : form->tb->buttonByKey(key);
    if (control != nullptr && *c.entry != '\0') control->trigger();
    else if (c.dropDown) form->tb_ButtonMenuClick(key);
    else form->tb_ButtonClick(key);
    if (*c.entry == '\0') {
      EXPECT_TRUE(fired.empty());
      EXPECT_TRUE(Snapshot() == before);
    } else {
      EXPECT_EQ(fired, (std::map<std::string, int>{{c.entry, 1}}));
    }
  }
  // The drop-down lists its entries in this order, separators between the groups.
  std::vector<std::string> items;
  for (QAction* a : form->tb->buttonByKey("HELP")->menu()->actions())
    items.push_back(a->isSeparator() ? "-" : a->text().toStdString());
  EXPECT_EQ(items, (std::vector<std::string>{"Help Content", "Chess Tutorial", "-", "Online Help", "Online Forum",
                                             "Online FAQ", "Send Bug Report", "-", "z.v.k Homepage",
                                             "z.v.k Other Products", "Become a z.v.k sales partner", "-", "About"}));
}

// The two-state buttons, pressed in turn: the panel shown, the menu checks
// and the other buttons follow each press.
TEST_F(ToolbarTest, TwoStateButtonsKeepPanelsMenuChecksAndSwitchesInStep) {
  struct Step {
    const char* key;
    int panel;                     // the one side panel shown
    std::vector<bool> menuChecks;  // taken pieces, options, edit, pause
    std::vector<bool> buttons;     // TAKENPIECES, EDIT, PAUSE, OPTIONS
    int clock, setup;
    const char* status;  // status bar panel 2, nullptr: not looked at
  };
  const Step steps[] = {
      {"OPTIONS", 1, {false, true, false, false}, {false, false, false, true}, 1, 0, nullptr},
      {"TAKENPIECES", 2, {true, false, false, false}, {true, false, false, false}, 1, 0, nullptr},
      {"OPTIONS", 1, {false, true, false, false}, {false, false, false, true}, 1, 0, nullptr},
      {"OPTIONS", 0, {false, false, false, false}, {false, false, false, false}, 1, 0, nullptr},
      {"TAKENPIECES", 2, {true, false, false, false}, {true, false, false, false}, 1, 0, nullptr},
      {"TAKENPIECES", 0, {false, false, false, false}, {false, false, false, false}, 1, 0, nullptr},
      {"PAUSE", 0, {false, false, false, true}, {false, false, true, false}, 0, 0, nullptr},
      {"PAUSE", 0, {false, false, false, false}, {false, false, false, false}, 1, 0, nullptr},
      {"EDIT", 0, {false, false, true, false}, {false, true, false, false}, 1, 1, "Edit Mode"},
      {"EDIT", 0, {false, false, false, false}, {false, false, false, false}, 1, 0, "OfflinePC"},
  };
  SetUpGame();
  app::SetCheckValue(form->chkEnableClock, 1);
  const std::string settings = platform::SettingsFilePath("ZVK\\Castellan\\TESTER\\Standard");
  int row = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(std::to_string(row++) + " " + s.key);
    std::filesystem::remove(settings);
    form->tb->buttonByKey(s.key)->trigger();
    const State now = Snapshot();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(now.panels[static_cast<size_t>(i)], i == s.panel) << i;
    EXPECT_EQ(now.menuChecks, s.menuChecks);
    EXPECT_EQ(now.buttons, s.buttons);
    EXPECT_EQ(now.clock, s.clock);
    EXPECT_EQ(now.setup, s.setup);
    if (s.status != nullptr) {
      EXPECT_EQ(now.statusPanel, s.status);
    }
    // Only the options button stores the profile settings.
    EXPECT_EQ(std::filesystem::exists(settings), std::string(s.key) == "OPTIONS");
  }
  // A check mark set from the menu's side shows on its button, and no command runs.
  const std::string record = Record();
  for (QAction* mark : {form->mnuTakenPieces, form->mnuEdit, form->mnuPause, form->mnuOptions}) mark->setChecked(true);
  EXPECT_EQ(Snapshot().buttons, (std::vector<bool>{true, true, true, true}));
  EXPECT_EQ(app::CheckValue(form->chkEnableClock), 1);
  EXPECT_EQ(Record(), record);
}

}  // namespace
}  // namespace apptest
