// The playing level on its slider, and the hint: the engine plays the human's
// next move at the full level and leaves it to the user to keep it (the start
// button lets the engine answer) or take it back with Undo.
#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>

#include "app/fMainForm.h"
#include "board/GameRecord.h"
#include "engine/ZVK_Engine.h"
#include "engine/ZVK_Globals.h"
#include "platform/DoEvents.h"
#include "platform/MessageBox.h"
#include "support/ErrorGuard.h"
#include "support/ZVK_ErrorLog.h"

namespace app {

using namespace ZVK_Globals;

namespace {
constexpr int kBeginner = 1;
constexpr int kIntermediate = 2;
constexpr int kAdvanced = 3;  // shown on the slider, offered in a later version
constexpr int32_t kHintColor = 0x800000;
}  // namespace

void fMainForm::ConnectLevelCommands() {
  // The level changes when the thumb is let go, not at every position it
  // passes, so that dragging over "Advanced" does not bring the notice.
  sldLevel->setTracking(false);
  connect(sldLevel, &QSlider::valueChanged, this, [this] { sldLevel_Click(); });
  // The level changes no position, so the user's pick is not held back
  // behind a move: a search under way reads the slider at every candidate
  // and plays at the new level from there on.
  connect(sldLevel, &QAbstractSlider::actionTriggered, this, [this](int action) {
    if (action != QAbstractSlider::SliderNoAction && sldLevel->sliderPosition() != sldLevel->value()) ++levelPicks_;
  });
  OnGameCommand(mnuGiveHint, [this] { mnuGiveHint_Click(); });
}

void fMainForm::sldLevel_Click() {
  if (!Guarded("sldLevel_Click of Formular fMainForm", [&] {
        if (sldLevel->value() == kAdvanced) {
          // The level is picked at once, also inside a transfer's wait for its
          // server, which a notice waiting for its answer would hold up.
          ZVK_ErrorLog::InNextVersion(!GameServerTransferUnderWay());
          const QSignalBlocker quiet(sldLevel);  // this handler goes on with the new value itself
          sldLevel->setValue(kIntermediate);
        }
        if (sldLevel->value() == kBeginner) lblLevel->setText(QStringLiteral("Beginner"));
        else if (sldLevel->value() == kIntermediate) lblLevel->setText(QStringLiteral("Intermediate"));
        if (auto* frame = findChild<QFrame*>(QStringLiteral("Frame1"))) frame->update();
      }))
    return;
  platform::DoEvents();
}

// Brings the label (and a refused third position) in line with a slider
// value that was set without its click handler running.
void fMainForm::Update_Level() { sldLevel_Click(); }

void fMainForm::mnuGiveHint_Click() {
  if (!Guarded("mnuGiveHint_Click of Formular fMainForm", [&] {
        // From the third half-move on: before it there is no move of the human's to suggest against.
        if (ZVK_Engine::gMoveNumber < 2) return;
        const auto level = static_cast<int16_t>(sldLevel->value());
        const uint64_t picksBefore = levelPicks_;
        sldLevel->setValue(kIntermediate);
        Write2GameRecord("CPU suggestion :\r\n", kHintColor, true);
        platform::MsgBox("If you like the suggestion click on  -Start CPU Move-\r\n"
                         "Otherwise click on Undo to delete the move.",
                         4160, "Castellan Quarto");
        // The engine plays the colour opposite to the human's; for this one
        // move that must be the side to move, which is the human's colour on
        // the human's turn. Asked on the other side's turn (after looking one
        // half-move back), merely exchanging the human's colour would leave
        // the human's colour to move while the engine plays it.
        const int32_t human = gPlayerColor;
        gPlayerColor = gColorToMove == kWhite ? kBlack : kWhite;
        ExecuteMoveBW(kTrue);
        gPlayerColor = human;
        // A level the user picked while the suggestion was searched stays.
        if (levelPicks_ == picksBefore) sldLevel->setValue(level);
        cmdStartCPUMove->setVisible(true);
      }))
    return;
  platform::DoEvents();
}

}  // namespace app
