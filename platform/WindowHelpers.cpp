#include "platform/WindowHelpers.h"

#include <unistd.h>

#include <QFileInfo>
#include <QFontDatabase>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {
namespace {

int gDeviceOverride = -1;

// Changing window flags re-creates the native window, which hides it.
void ChangeFlags(QWidget* window, Qt::WindowFlags flags) {
  const bool visible = window->isVisible();
  const QRect geometry = window->geometry();
  window->setWindowFlags(flags);
  if (visible) {
    window->setGeometry(geometry);
    window->show();
  }
}

}  // namespace

void SetWindowTopMost(QWidget* window, bool topMost) {
  if (window == nullptr || IsWindowTopMost(window) == topMost) return;
  Qt::WindowFlags flags = window->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, topMost);
  ChangeFlags(window, flags);
}

bool IsWindowTopMost(const QWidget* window) {
  return window != nullptr && window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void RemoveCloseEntry(QWidget* window) {
  if (window == nullptr || !HasCloseEntry(window)) return;
  Qt::WindowFlags flags = window->windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint;
  flags.setFlag(Qt::WindowCloseButtonHint, false);
  ChangeFlags(window, flags);
}

bool HasCloseEntry(const QWidget* window) {
  if (window == nullptr) return false;
  const Qt::WindowFlags flags = window->windowFlags();
  return !flags.testFlag(Qt::CustomizeWindowHint) || flags.testFlag(Qt::WindowCloseButtonHint);
}

bool AddApplicationFont(const std::string& path) {
  return QFontDatabase::addApplicationFont(QString::fromStdString(path)) >= 0;
}

int CountPlaybackDevices(const std::string& procAsoundPcm) {
  std::istringstream in(procAsoundPcm);
  std::string line;
  int count = 0;
  while (std::getline(in, line))
    if (line.find("playback") != std::string::npos) ++count;
  return count;
}

int WaveOutDeviceCount() {
  if (gDeviceOverride >= 0) return gDeviceOverride;
  std::ifstream pcm("/proc/asound/pcm");
  if (pcm) {
    std::ostringstream text;
    text << pcm.rdbuf();
    if (const int n = CountPlaybackDevices(text.str()); n > 0) return n;
  }
  // A sound server plays through devices this process cannot list itself.
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (std::getenv("PULSE_SERVER") != nullptr) return 1;
  if (runtime != nullptr) {
    const QString dir = QString::fromLocal8Bit(runtime);
    if (QFileInfo::exists(dir + "/pulse/native") || QFileInfo::exists(dir + "/pipewire-0")) return 1;
  }
  return 0;
}

void SetWaveOutDeviceCount(int count) { gDeviceOverride = count; }

}  // namespace platform
