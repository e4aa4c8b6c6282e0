// The toolbar's buttons and drop-down entries run their menu entries' commands.
#include <QMenu>
#include <map>

#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using ToolbarTest = MainWindowFixture;

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
  NewGame("OfflinePC");
  std::map<QString, QAction*> dropDown;
  for (QAction* a : form->tb->buttonByKey("HELP")->menu()->actions()) dropDown[a->data().toString()] = a;
  for (const auto& [isDropDown, key, entry] : cases) {
    SCOPED_TRACE(std::string(isDropDown ? "drop-down " : "button ") + key);
    fired.clear();
    QAction* control = isDropDown ? dropDown[key] : form->tb->buttonByKey(key);
    if (*entry != '\0' && control != nullptr) control->trigger();  // the click itself, where there is one
    else if (isDropDown) form->tb_ButtonMenuClick(key);
    else form->tb_ButtonClick(key);
    EXPECT_EQ(fired, (*entry == '\0' ? std::map<std::string, int>{}
                                     : std::map<std::string, int>{{std::string("mnu") + entry, 1}}));
  }
}

}  // namespace
}  // namespace apptest
