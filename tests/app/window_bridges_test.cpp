// The main window as the lower layers see it: values outside a control's
// range are refused and leave the control as it was.
#include <QMenu>

#include "app/WindowBridges.h"
#include "board/RecordWindow.h"
#include "support/ErrorGuard.h"
#include "tests/app/AppTestSupport.h"

namespace apptest {
namespace {

using WindowBridgesTest = MainWindowFixture;

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
