#include "board/RecordWindow.h"

#include "engine/ZVK_Engine.h"
#include "support/ErrorGuard.h"

namespace ZVK_Board_Sub {
namespace {

RecordWindow* gInstalled = nullptr;

HeadlessRecordWindow& StandIn() {
  static HeadlessRecordWindow window;
  return window;
}

[[noreturn]] void InvalidValue() { throw ZVK_ErrorLog::RuntimeError(380, "Invalid property value"); }

}  // namespace

void SetRecordWindow(RecordWindow* window) { gInstalled = window; }

RecordWindow& TheRecordWindow() { return gInstalled != nullptr ? *gInstalled : StandIn(); }

// The toolbar's 26 buttons and separators (EXIT last), all enabled, as the window starts.
HeadlessRecordWindow::HeadlessRecordWindow() : toolbarEnabled(26, true) {
  texts["cmbProfiles"] = "Standard";
}

void HeadlessRecordWindow::MoveListAppended(const std::string& text, int32_t color) {
  moveList.Append(text, color);
}

void HeadlessRecordWindow::MoveListReplaced(const platform::RichTextDocument& record) {
  moveList = record;
}

void HeadlessRecordWindow::SetTakenPicture(TakenStrip strip, int k, int picture) {
  auto& elements = strip == TakenStrip::TakenWhite ? takenWhite : takenBlack;
  if (k < 1 || k > 16) throw ZVK_ErrorLog::RuntimeError(340, "Control array element does not exist");
  elements[static_cast<size_t>(k)] = picture;
}

int32_t HeadlessRecordWindow::ControlValue(const std::string& name) {
  const auto it = values.find(name);
  return it == values.end() ? 0 : it->second;
}

void HeadlessRecordWindow::SetControlValue(const std::string& name, int32_t value) {
  if (name == "cmbProfiles") {
    // Like a list: -1 (nothing selected) up to the last entry; the combo's
    // text follows the selection.
    if (value < -1 || value >= ProfileCount()) InvalidValue();
    texts[name] = value >= 0 ? profiles[static_cast<size_t>(value)] : "";
  }
  const auto range = ranges.find(name);
  if (range != ranges.end() && (value < range->second.first || value > range->second.second)) InvalidValue();
  values[name] = value;
  valueWrites.push_back(name);
}

std::string HeadlessRecordWindow::ControlText(const std::string& name) {
  const auto it = texts.find(name);
  return it == texts.end() ? std::string() : it->second;
}

void HeadlessRecordWindow::SetControlText(const std::string& name, const std::string& text) {
  texts[name] = text;
  valueWrites.push_back(name);
}

std::string HeadlessRecordWindow::ProfileItem(int index) {
  if (index < 0 || index >= ProfileCount()) InvalidValue();
  return profiles[static_cast<size_t>(index)];
}

void HeadlessRecordWindow::SetToolbarButtonEnabled(int position, bool enabled) {
  if (position < 1 || position > ToolbarButtonCount()) {
    throw ZVK_ErrorLog::RuntimeError(35600, "Index out of bounds");
  }
  toolbarEnabled[static_cast<size_t>(position - 1)] = enabled;
}

void HeadlessRecordWindow::HScroll1_Change() {
  ++sliderChanges;
  Guarded("HScroll1_Change of Formular fMainForm",
          [] { ZVK_Engine::ApplyMoveSliderValue(static_cast<int16_t>(ZVK_Engine::gMoveNumber)); });
}

}  // namespace ZVK_Board_Sub
