#pragma once
// What the game record, the taken pieces, the profiles, the menu states and
// the game file need of the main window. The main window implements
// RecordWindow and installs it with SetRecordWindow; until then (and in tests
// that install nothing) a HeadlessRecordWindow stands in, so every procedure
// works without a window.
//
// Controls are addressed by their names ("chkEnableVoice", "sldLevel",
// "cmbBoard", "optGender0", "mnuDangerShow", ...), as the settings keys name
// them, so the main window can look them up by object name.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/RichText.h"

namespace ZVK_Board_Sub {

enum class TakenStrip { TakenWhite, TakenBlack };

class RecordWindow {
 public:
  virtual ~RecordWindow() = default;

  // ---- game record: the documents live in GameRecord.h; the window mirrors them
  // One coloured line was appended to txtMoveList.
  virtual void MoveListAppended(const std::string& text, int32_t color) = 0;
  // txtMoveList was replaced or cleared as a whole.
  virtual void MoveListReplaced(const platform::RichTextDocument& record) = 0;

  // Caption of lbl_Play (the shown half-move number).
  virtual std::string lbl_PlayCaption() = 0;

  // ---- taken pieces: element k (1..16) of a strip shows picPiece(picture);
  // 0, and any number without a picture (a damaged game file), is blank
  virtual void SetTakenPicture(TakenStrip strip, int k, int picture) = 0;

  // ---- comment box txtComment
  virtual std::string txtCommentText() = 0;
  virtual void SetTxtCommentText(const std::string& text) = 0;
  // The most characters (UTF-16 units) the box holds whole.
  virtual size_t txtCommentCapacity() = 0;

  // ---- option controls by name
  // Value: check boxes 0/1 (also "setup"), option buttons "optGender0" and
  // "optGender1" -1/0, scroll bars and sliders their value, lists their
  // selected index (cmbLanguage its item position from 1), menu check marks
  // "mnuShowPossibleMoves" and "mnuDangerShow" -1/0. Setting a value runs the
  // control's change handler as a user's change would (a menu mark runs
  // nothing). A value outside the control's range throws
  // ZVK_ErrorLog::RuntimeError (380, "Invalid property value") and leaves the
  // control as it was.
  virtual int32_t ControlValue(const std::string& name) = 0;
  virtual void SetControlValue(const std::string& name, int32_t value) = 0;
  // Text boxes and the combo text of cmbProfiles.
  virtual std::string ControlText(const std::string& name) = 0;
  virtual void SetControlText(const std::string& name, const std::string& text) = 0;

  // ---- colours (blue-green-red values)
  virtual int32_t BackgroundColor() = 0;
  virtual void ChangeBackgroundColor(int32_t color) = 0;
  virtual int32_t BordCoordinateColor() = 0;  // the text colour of lblFile(0)
  virtual void ChangeBordCoordinateColor(int32_t color) = 0;

  // ---- the profile list cmbProfiles (its selection: ControlValue("cmbProfiles"))
  virtual int ProfileCount() = 0;
  virtual std::string ProfileItem(int index) = 0;
  virtual void AddProfileItem(const std::string& name) = 0;

  // ---- menu entries by name; toolbar buttons by position from 1, separators count
  virtual void SetMenuEnabled(const std::string& name, bool enabled) = 0;
  virtual int ToolbarButtonCount() = 0;
  // A position outside 1..count throws ZVK_ErrorLog::RuntimeError (35600, "Index out of bounds").
  virtual void SetToolbarButtonEnabled(int position, bool enabled) = 0;
  // Whether the user can move the move slider HScroll1. The program still
  // sets its value and maximum when it is off (the engine's log writer, the
  // game-file reader, the navigation commands).
  virtual void SetMoveSliderEnabled(bool enabled) = 0;

  // ---- the move slider's change handler (fMainForm.HScroll1_Change)
  virtual void HScroll1_Change() = 0;
};

// The installed window; nullptr puts the stand-in back. The caller keeps ownership.
void SetRecordWindow(RecordWindow* window);
RecordWindow& TheRecordWindow();

// A window without widgets: the stand-in before the main window exists and
// the base of the tests' fakes. Everything it is told is kept in public members.
class HeadlessRecordWindow : public RecordWindow {
 public:
  HeadlessRecordWindow();

  platform::RichTextDocument moveList;
  std::string playCaption = "0";
  std::array<int, 17> takenWhite{};  // element 0 unused
  std::array<int, 17> takenBlack{};
  std::string comment = " enter here ...";
  size_t commentCapacity = SIZE_MAX;
  std::map<std::string, int32_t> values;
  std::map<std::string, std::string> texts;
  // Inclusive ranges of controls that refuse other values (lists, scroll bars).
  std::map<std::string, std::pair<int32_t, int32_t>> ranges;
  int32_t backgroundColor = 0;
  int32_t coordinateColor = 0;
  std::vector<std::string> profiles;
  std::map<std::string, bool> menusEnabled;
  std::vector<bool> toolbarEnabled;  // element 0 is position 1
  bool moveSliderEnabled = true;
  int sliderChanges = 0;
  std::vector<std::string> valueWrites;  // names in the order they were set

  void MoveListAppended(const std::string& text, int32_t color) override;
  void MoveListReplaced(const platform::RichTextDocument& record) override;
  std::string lbl_PlayCaption() override { return playCaption; }
  void SetTakenPicture(TakenStrip strip, int k, int picture) override;
  std::string txtCommentText() override { return comment; }
  void SetTxtCommentText(const std::string& text) override { comment = text; }
  size_t txtCommentCapacity() override { return commentCapacity; }
  int32_t ControlValue(const std::string& name) override;
  void SetControlValue(const std::string& name, int32_t value) override;
  std::string ControlText(const std::string& name) override;
  void SetControlText(const std::string& name, const std::string& text) override;
  int32_t BackgroundColor() override { return backgroundColor; }
  void ChangeBackgroundColor(int32_t color) override { backgroundColor = color; }
  int32_t BordCoordinateColor() override { return coordinateColor; }
  void ChangeBordCoordinateColor(int32_t color) override { coordinateColor = color; }
  int ProfileCount() override { return static_cast<int>(profiles.size()); }
  std::string ProfileItem(int index) override;
  void AddProfileItem(const std::string& name) override { profiles.push_back(name); }
  void SetMenuEnabled(const std::string& name, bool enabled) override { menusEnabled[name] = enabled; }
  int ToolbarButtonCount() override { return static_cast<int>(toolbarEnabled.size()); }
  void SetToolbarButtonEnabled(int position, bool enabled) override;
  void SetMoveSliderEnabled(bool enabled) override { moveSliderEnabled = enabled; }
  // Takes the shown position out of the game log as the real handler does
  // (for the value the game file just set: gMoveNumber).
  void HScroll1_Change() override;
};

}  // namespace ZVK_Board_Sub
