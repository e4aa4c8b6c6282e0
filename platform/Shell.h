#pragma once
// Opening things the way the desktop opens them: a web address in the
// browser, a document (the error log, a help page) in its viewer, and the
// program's help. Tests install a recorder so that nothing is opened.
// Qt-free header.
#include <string>
#include <vector>

namespace platform {

// False, after telling the user, when no program on this computer opens it.
bool OpenURL(const std::string& url);
bool OpenDocument(const std::string& path);

// The programs that show a compiled help file (.chm) when the desktop has
// none for it, in the order they are tried.
inline const std::vector<std::string> kCompiledHelpViewers = {"xchm", "kchmviewer"};

// The desktop's program for the file's type, as `xdg-mime` (found on PATH)
// names it; "" when there is none or no `xdg-mime` to ask. Asked rather than
// left to the desktop, which reports success even when it opens nothing.
std::string DesktopProgramFor(const std::string& path);

// Opens a document with the desktop's program for its type, else with the
// first of viewers found on PATH (given the path as its one argument).
// Says nothing: false when neither exists or none could be started.
bool OpenDocumentWith(const std::string& path, const std::vector<std::string>& viewers);

// Opens a help file. A compiled help file is replaced by an HTML page of the
// same name beside it (".html", ".htm") or an "index.html" in a folder of
// that name; without one it goes to OpenDocumentWith and the compiled help
// viewers. A missing file is reported to the user (a message box) and false
// returned; so is a file nothing can open, with noViewerText when given.
bool ShowHelpFile(const std::string& path, const std::string& noViewerText = "");
// The file ShowHelpFile would open ("" when none).
std::string ResolveHelpFile(const std::string& path);

// Plays the desktop: records what it would have been asked to open, and
// while one lives the desktop opens nothing. Programs found on PATH are
// still started (tests put their own stand-ins there).
class ScriptedShell {
 public:
  ScriptedShell();
  ~ScriptedShell();
  ScriptedShell(const ScriptedShell&) = delete;
  ScriptedShell& operator=(const ScriptedShell&) = delete;

  const std::vector<std::string>& Opened() const { return opened_; }
  // Records the target; false plays a desktop with no program to open it.
  bool Record(const std::string& target) {
    opened_.push_back(target);
    return !refusing_;
  }
  void RefuseAll() { refusing_ = true; }

 private:
  std::vector<std::string> opened_;
  bool refusing_ = false;
  ScriptedShell* previous_ = nullptr;
};

}  // namespace platform
