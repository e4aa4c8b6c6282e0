#pragma once
// The assistant character's speech: a text spoken aloud (with a speech
// balloon) when "Enable Voice" is ticked, otherwise shown as a thought.
// The character "DailyCharacter" is loaded from the Common folder when it is
// installed there; without it every speech request is a logged failure.
// Qt-free header.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/AssistantCharacter.h"

namespace ZVK_MSAgent {

// Pitch 110, speed 150, volume 65535, each tag between backslashes.
inline constexpr const char* kSpeechTags = "\\Pit=110\\\\Spd=150\\\\Vol=65535\\";
inline constexpr const char* kCharacterName = "DailyCharacter";

// The loaded character, or nullptr.
platform::AssistantCharacter* gAgentChar();
inline std::vector<std::string> gAgentAnimations;
// What the character says when it is clicked (nothing by default).
inline std::string gAgentText;

// Loads Common/agent/DailyCharacter.ini beside the program folder when it
// exists and fills gAgentAnimations; true when a character is loaded.
bool LoadAgentCharacter();
bool LoadAgentCharacterFrom(const std::string& iniFile);
void ReleaseAgentCharacter();

// -1 when the text was handed to the character; 0 for a blank text or a failure.
int16_t MyAgentSpeakText(const std::string& text, int16_t useSpeechTags);

// Stops the character and plays one of its animations at random; throws
// (to the caller's handler) with no character or no animations.
void PlayRandomAnimation();

}  // namespace ZVK_MSAgent
