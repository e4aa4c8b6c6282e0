#pragma once
// The program's start-up: it gathers what the rest of the program relies on,
// refuses a second running copy, shows the splash and then the main window.
#include <cstdint>

namespace app { class fMainForm; }

namespace Castellan_Main {

inline int16_t gSplashRunning = 0;  // -1 while the splash runs

// Runs the start-up. True when the main window is up and the program lives
// on its events; false when the program is to end (missing language file,
// second copy).
bool Main();

// The main window the start-up created (nullptr before and after).
app::fMainForm* MainForm();
// Destroys the main window (tests run several start-ups in one process).
void DestroyMainForm();

}  // namespace Castellan_Main
