// The toolbar's buttons and drop-down entries run their menu entries'
// commands; the two-state buttons keep panels, menu checks and switches in step.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QSlider>
#include <filesystem>
#include <map>
#include <sstream>

#include "platform/SettingsStore.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

class ToolbarTest : public MainWindowFixture {
 protected:
  void SetUpGame() {
    NewGame("OfflinePC", G::kWhite);
    answers.Clear();
    answers.Push(platform::vbNo);  // a closing question is answered No
  }

  // "p<panel shown> m<checks: taken, options, edit, pause> b<buttons: TAKENPIECES,
  // EDIT, PAUSE, OPTIONS> c<clock switch> s<setup>"
  std::string Indicators() const {
    std::ostringstream s;
    s << 'p';
    for (int i = 0; i < 3; ++i)
      if (form->picGameControl[static_cast<size_t>(i)]->isVisible()) s << i;
    s << " m";
    for (QAction* a : {form->mnuTakenPieces, form->mnuOptions, form->mnuEdit, form->mnuPause}) s << a->isChecked();
    s << " b";
    for (const char* key : {"TAKENPIECES", "EDIT", "PAUSE", "OPTIONS"}) s << form->tb->buttonByKey(key)->isChecked();
    s << " c" << app::CheckValue(form->chkEnableClock) << " s" << app::CheckValue(form->setup);
    return s.str();
  }
};

// A key reaches exactly its own menu entry, once, whatever command is connected to it, even with the
// entry or its whole menu switched off, from a button and from the drop-down; a key that matches none
// there (case counts, and a button's key is no drop-down entry nor the other way round) reaches nothing.
TEST_F(ToolbarTest, EveryKeyReachesExactlyItsMenuEntry) {
  const std::tuple<bool, const char*, const char*> cases[] = {  // drop-down?, key, menu entry ("" none)
      {false, "UNDO", "Undo"},  {false, "GOTOEND", "GotoLastMove"}, {true, "ABOUT", "About"},
      {false, "undo", ""},      {false, "ABOUT", ""},               {true, "HELP", ""}};
  // Only counters listen to the entries, so no command of the window runs here.
  std::map<std::string, int> fired;
  for (QMenu* menu : {form->mnuFile, form->mnuGame, form->mnuMove, form->mnuHelp})
    for (QAction* a : menu->actions()) {
      QObject::disconnect(a, &QAction::triggered, nullptr, nullptr);
      QObject::connect(a, &QAction::triggered, form.get(), [&fired, a] { ++fired[a->objectName().toStdString()]; });
    }
  form->mnuMove->setEnabled(false);  // a whole menu switched off does not stop the toolbar
  form->mnuUndo->setEnabled(false);
  SetUpGame();
  std::map<QString, QAction*> dropDown;
  for (QAction* a : form->tb->buttonByKey("HELP")->menu()->actions()) dropDown[a->data().toString()] = a;
  for (const auto& [isDropDown, key, entry] : cases) {
    SCOPED_TRACE(std::string(isDropDown ? "drop-down " : "button ") + key);
    fired.clear();
    const std::string before = Indicators() + Record();
    QAction* control = isDropDown ? dropDown[key] : form->tb->buttonByKey(key);
    if (*entry != '\0' && control != nullptr) control->trigger();  // the click itself, where there is one
    else if (isDropDown) form->tb_ButtonMenuClick(key);
    else form->tb_ButtonClick(key);
    EXPECT_EQ(fired, (*entry == '\0' ? std::map<std::string, int>{}
                                     : std::map<std::string, int>{{std::string("mnu") + entry, 1}}));
    if (*entry == '\0') EXPECT_EQ(Indicators() + Record(), before);
  }
}

// The two-state buttons pressed in turn, then their menu entries: panels, checks and switches follow;
// then the menu's check marks set on their own.
TEST_F(ToolbarTest, TwoStateButtonsKeepPanelsMenuChecksAndSwitchesInStep) {
  QAction *options = form->tb->buttonByKey("OPTIONS"), *taken = form->tb->buttonByKey("TAKENPIECES"),
          *pause = form->tb->buttonByKey("PAUSE"), *edit = form->tb->buttonByKey("EDIT");
  const std::pair<QAction*, const char*> steps[] = {
      {options, "p1 m0100 b0001 c1 s0"}, {taken, "p2 m1000 b1000 c1 s0"},         {taken, "p0 m0000 b0000 c1 s0"},
      {pause, "p0 m0001 b0010 c0 s0"},   {pause, "p0 m0000 b0000 c1 s0"},         {edit, "p0 m0010 b0100 c1 s1"},
      {edit, "p0 m0000 b0000 c1 s0"},    {form->mnuEdit, "p0 m0010 b0100 c1 s1"}, {form->mnuEdit, "p0 m0000 b0000 c1 s0"}};
  SetUpGame();
  app::SetCheckValue(form->chkEnableClock, 1);
  const std::string settings = platform::SettingsFilePath("ZVK\\Castellan\\TESTER\\Standard");
  for (const auto& [action, indicators] : steps) {
    SCOPED_TRACE(action->objectName().toStdString() + action->data().toString().toStdString());
    std::filesystem::remove(settings);
    action->trigger();
    EXPECT_EQ(Indicators(), indicators);
    EXPECT_EQ(std::filesystem::exists(settings), action == options);  // it alone stores the profile
    if (action == edit)
      EXPECT_EQ(form->StatusBar->panel(2)->text(), form->setup->isChecked() ? "Edit Mode" : "OfflinePC");
  }
  const std::string record = Record();
  for (QAction* mark : {form->mnuTakenPieces, form->mnuEdit, form->mnuPause, form->mnuOptions}) mark->setChecked(true);
  EXPECT_EQ(Indicators(), "p0 m1111 b1111 c1 s0");  // the buttons follow; no command runs
  EXPECT_EQ(Record(), record);
}

}  // namespace
}  // namespace apptest
