#pragma once
// Window-system services: keeping a window above others, a window without a
// close entry of its own, fonts for the running program, and whether the
// machine can play sound.
// Qt-free header (the window is only named).
#include <string>

class QWidget;

namespace platform {

// Position and size stay as they are; a visible window stays visible.
void SetWindowTopMost(QWidget* window, bool topMost);
bool IsWindowTopMost(const QWidget* window);

// The window's title bar offers no close button. The window system may still
// close it (keyboard shortcut); the window's own close handling decides then.
void RemoveCloseEntry(QWidget* window);
bool HasCloseEntry(const QWidget* window);

// Registers a font file for this run; false when the file is no usable font.
bool AddApplicationFont(const std::string& path);

// Sound output devices: ALSA playback devices, or one for a running sound
// server. Tests set a count (negative: look at the machine again).
int WaveOutDeviceCount();
int CountPlaybackDevices(const std::string& procAsoundPcm);
void SetWaveOutDeviceCount(int count);

}  // namespace platform
