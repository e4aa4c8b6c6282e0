// The main window as the lower layers see it: option controls by name with
// their value conventions, and refusal of values outside a control's range.
#include <QMenu>

#include "app/WindowBridges.h"
#include "board/RecordWindow.h"
#include "support/ErrorGuard.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using WindowBridgesTest = MainWindowFixture;

// What the settings store and load goes through these: a control that read
// back another value than it was given would lose the user's choice at the
// next start.
TEST_F(WindowBridgesTest, ControlValuesRoundTripByName) {
  B::RecordWindow& w = B::TheRecordWindow();
  const std::pair<const char*, int32_t> cases[] = {
      {"chkEnableSound", 0}, {"chkEnableVoice", 1}, {"chkMoveAnimation", 1}, {"ChkToolTip", 0},
      {"setup", 1},          {"optGender0", -1},    {"optGender1", -1},      {"mnuShowPossibleMoves", -1},
      {"mnuDangerShow", 0},  {"sldLevel", 1},       {"HScrollAnimationSpeed", 37},
      {"lstMoveIncrementation", 6}, {"cmbCountry", 3}, {"cmbBoard", 0},
  };
  for (const auto& [name, value] : cases) {
    w.SetControlValue(name, value);
    EXPECT_EQ(w.ControlValue(name), value) << name;
  }
  // Choosing one option button leaves the other unchosen.
  EXPECT_EQ(w.ControlValue("optGender0"), 0);
  EXPECT_EQ(form->lblAnimationMoveSpeed->text(), "37");  // the change handler ran
}

TEST_F(WindowBridgesTest, OutOfRangeValuesAreRefusedAndLeaveTheControl) {
  B::RecordWindow& w = B::TheRecordWindow();
  for (const auto& [name, value] : {std::pair{"cmbCountry", 999}, {"HScrollAnimationSpeed", 101}, {"sldLevel", 7},
                                     {"cmbLanguage", 40}, {"chkEnableSound", 5}}) {
    SCOPED_TRACE(name);
    const int32_t before = w.ControlValue(name);
    try {
      w.SetControlValue(name, value);
      ADD_FAILURE() << "accepted";
    } catch (const ZVK_ErrorLog::RuntimeError& e) {
      EXPECT_EQ(e.number(), 380);
    }
    EXPECT_EQ(w.ControlValue(name), before);
  }
  EXPECT_THROW(w.SetToolbarButtonEnabled(27, false), ZVK_ErrorLog::RuntimeError);
  w.SetToolbarButtonEnabled(4, false);  // separators count
  EXPECT_FALSE(form->tb->button(4)->isEnabled());
  w.SetMenuEnabled("mnuMove", false);
  EXPECT_FALSE(form->mnuMove->menuAction()->isEnabled());
}

}  // namespace
}  // namespace apptest
