// The main window as the lower layers see it: option controls by name with
// their value conventions, and refusal of values outside a control's range.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>

#include "app/WindowBridges.h"
#include "board/RecordWindow.h"
#include "support/ErrorGuard.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using WindowBridgesTest = MainWindowFixture;

TEST_F(WindowBridgesTest, ControlValuesRoundTripByName) {
  B::RecordWindow& w = B::TheRecordWindow();
  struct Case {
    const char* name;
    int32_t value;
  };
  const Case cases[] = {
      {"chkEnableSound", 0}, {"chkEnableVoice", 1}, {"chkMoveAnimation", 1}, {"ChkToolTip", 0},
      {"setup", 1},          {"optGender0", -1},    {"optGender1", -1},      {"mnuShowPossibleMoves", -1},
      {"mnuDangerShow", 0},  {"sldLevel", 1},       {"HScrollAnimationSpeed", 37},
      {"lstMoveIncrementation", 6}, {"cmbCountry", 3}, {"cmbBoard", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    w.SetControlValue(c.name, c.value);
    EXPECT_EQ(w.ControlValue(c.name), c.value);
  }
  // Choosing one option button leaves the other unchosen.
  EXPECT_EQ(w.ControlValue("optGender0"), 0);
  EXPECT_EQ(form->lblAnimationMoveSpeed->text(), "37");  // the change handler ran
  EXPECT_EQ(w.lbl_PlayCaption(), "0");
}

TEST_F(WindowBridgesTest, OutOfRangeValuesAreRefusedAndLeaveTheControl) {
  B::RecordWindow& w = B::TheRecordWindow();
  struct Case {
    const char* name;
    int32_t value;
  };
  for (const Case& c : {Case{"cmbCountry", 999}, Case{"HScrollAnimationSpeed", 101}, Case{"sldLevel", 7},
                        Case{"cmbLanguage", 40}, Case{"chkEnableSound", 5}}) {
    SCOPED_TRACE(c.name);
    const int32_t before = w.ControlValue(c.name);
    try {
      w.SetControlValue(c.name, c.value);
      ADD_FAILURE() << "accepted";
    } catch (const ZVK_ErrorLog::RuntimeError& e) {
      EXPECT_EQ(e.number(), 380);
    }
    EXPECT_EQ(w.ControlValue(c.name), before);
  }
  EXPECT_THROW(w.SetToolbarButtonEnabled(27, false), ZVK_ErrorLog::RuntimeError);
  w.SetToolbarButtonEnabled(4, false);  // separators count
  EXPECT_FALSE(form->tb->button(4)->isEnabled());
  w.SetMenuEnabled("mnuMove", false);
  EXPECT_FALSE(form->mnuMove->menuAction()->isEnabled());
}

}  // namespace
}  // namespace apptest
