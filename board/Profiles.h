#pragma once
// The user's profiles: the option panel's values kept per user and per named
// profile in the per-user settings (section "Settings"). The profile list
// cmbProfiles names them; its text names the current profile.
#include <cstdint>
#include <string>
#include <vector>

namespace ZVK_Board_Sub {

// The names of profile list entries 1 to the last, each preceded by "|".
inline std::string gProfilesRegStr;

// Writes the profile list, the selected profile and every option value of
// the current profile.
void Save2Registry();

// Selects the stored profile and puts its values (or the defaults) into the
// controls. A value that cannot be converted, or that its control refuses, is
// logged and replaced by its default, which the next save then stores.
void Load_Registry();

// Appends name to cmbProfiles unless it is blank or equals (same case) one of
// the entries 0 to lastIndex.
void add_profile(const std::string& name, int16_t lastIndex);

// The window's creation: lists "Standard" and then the stored profiles, read
// from "ProfilesRegStr" of the profile that cmbProfiles' text names then (so
// of "Standard"), into cmbProfiles; gProfilesRegStr takes the stored text.
// Returns the text split at "|". Failing steps are logged under place.
std::vector<std::string> ListStoredProfiles(const char* place);

}  // namespace ZVK_Board_Sub
