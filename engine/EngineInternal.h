#pragma once
// Shared by the engine's own sources only.
#include <cstdint>

#include <stdexcept>

#include "engine/ZVK_Engine.h"
#include "platform/DoEvents.h"

namespace ZVK_Engine::detail {

// The engine yields at every generator call: hundreds of thousands of times per
// search. Even the throttled platform yield reads the clock on each call, which
// would cost a noticeable share of a search, so only every kYieldStride-th call
// reaches it; the platform's own throttle still decides when events really run.
inline constexpr uint32_t kYieldStride = 1024;  // about every 10 microseconds of search
inline uint32_t gYieldCalls = 0;

inline void Yield() {
  if ((++gYieldCalls % kYieldStride) == 0) platform::DoEvents();
}

// Set by UpdateGame around its Log_Play call: the engine's moves are turned
// round by their colour, whatever the mode, unlike the moves made by hand.
inline bool gLoggingEngineMove = false;

// Stores a board as list entry `count`; the count was raised before, so the
// 201st entry of a list is counted, logged once (as a subscript error) and not
// stored, and so are all later ones, without further entries in the log.
inline bool StoreEntry(BoardList& list, int32_t count, const EngineBoard& board) {
  if (count > kMaxListEntries) {
    if (count == kMaxListEntries + 1) throw std::out_of_range("Subscript out of range");
    return false;
  }
  list[static_cast<size_t>(count)] = board;
  return true;
}

// A list's count may run past what was stored; only stored entries are read.
inline int32_t StoredEntries(int32_t count) {
  return count < 0 ? 0 : (count > kMaxListEntries ? kMaxListEntries : count);
}

}  // namespace ZVK_Engine::detail
