#pragma once
// The common file dialog: filter ("text|pattern|text|pattern"), initial
// folder, default extension and file name are set before it is shown; the
// chosen full path is read back from FileName. ShowSave and ShowOpen answer
// whether a file was chosen (false when the user cancelled).
//
// Tests install a scripted answerer: every dialog is recorded and answered
// from its queue (an empty answer is a cancel), and nothing is shown.
// Qt-free header.
#include <deque>
#include <string>
#include <vector>

namespace platform {

class CommonDialog {
 public:
  std::string Filter;
  std::string InitDir;
  std::string DefaultExt;  // without the dot
  std::string FileName;    // in: the proposed name; out: the chosen full path
  std::string DialogTitle;

  bool ShowSave();
  bool ShowOpen();
};

// One file dialog as it was asked.
struct FileDialogCall {
  bool save = false;
  std::string filter;
  std::string initDir;
  std::string defaultExt;
  std::string fileName;
  std::string answer;  // "" when cancelled
};

class ScriptedFileDialogs {
 public:
  ScriptedFileDialogs();
  ~ScriptedFileDialogs();
  ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
  ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

  // The full path the next dialog "chooses"; "" cancels it.
  void Push(const std::string& path) { answers_.push_back(path); }
  const std::vector<FileDialogCall>& Calls() const { return calls_; }

  std::string Answer(const FileDialogCall& call);

 private:
  std::deque<std::string> answers_;
  std::vector<FileDialogCall> calls_;
  ScriptedFileDialogs* previous_ = nullptr;
};

// The Qt name filter ("Chess Games (*.chs);;All Files (*.*)") of a classic
// filter text; pairs without a pattern are dropped.
std::string QtNameFilter(const std::string& classicFilter);

}  // namespace platform
