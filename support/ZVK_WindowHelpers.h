#pragma once
// Window, font, help and sound helpers shared by the main window and its
// dialogs. The next-version notice is ZVK_ErrorLog::InNextVersion.
// Qt-free header (windows are only named).
#include <cstdint>
#include <string>

class QWidget;

namespace ZVK_WindowsTopMost {
// Keeps the window above all others / releases it; position and size stay.
void SetTopMost(QWidget* form);
void SetNotTopMost(QWidget* form);
}  // namespace ZVK_WindowsTopMost

namespace ZVK_API_Shell {
// The window offers no close entry of its own (its title bar loses the close
// button); closing through the window system still runs its close handling.
void RemoveCloseButton(QWidget* window);
// Opens a web address in the browser (the "open" verb).
void ShellOpen(const std::string& url);
}  // namespace ZVK_API_Shell

namespace ZVK_AddFont {
// Registers the font file for this run; a missing file is skipped silently.
void AddFont(std::string& fontFile);
}  // namespace ZVK_AddFont

namespace ZVK_HTMLHelp {
// Opens the help file the main window names for the number (1 help, 2 tutorial).
void ShowHelp(int16_t helpNumber);
}  // namespace ZVK_HTMLHelp

namespace ZVK_PlaySoundFile {
inline int16_t gHasSound = 0;  // -1 when the machine can play sound
// -1 when at least one sound output device is present, else 0.
int16_t HasSound();
}  // namespace ZVK_PlaySoundFile
