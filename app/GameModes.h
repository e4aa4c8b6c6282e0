#pragma once
// The four game modes as both game dialogs offer them, by option index: the
// word the program keeps in gGameMode and the option's caption.
#include <array>

namespace app {

struct GameModeChoice {
  const char* word;
  const char* caption;
};

inline constexpr std::array<GameModeChoice, 4> kGameModes = {{
    {"OfflinePP", "Two local Player Mode"},
    {"OfflinePC", "Player -- CPU Mode"},
    {"OfflineCC", "CPU vs CPU Mode"},
    {"OnlinePP", "Internet Partner Mode"},
}};

}  // namespace app
