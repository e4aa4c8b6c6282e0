#pragma once
// Turns the game position half round and exchanges the colours, so that the
// engine (which always moves the positive side) can play the other colour.
// Qt-free header.
namespace ZVK_Board_Sub {

// Turns ZVK_Engine::gVirtualBoard in place, using gBestBoard as scratch.
// Mirroring twice gives the position back. No error handler, no yield.
void MirrorBoard();

}  // namespace ZVK_Board_Sub

namespace ZVK_Engine {
struct EngineBoard;
// The same turn of any board into another (the repetition veto compares
// logged positions in the search's orientation with it).
void MirroredCopy(EngineBoard& destination, const EngineBoard& source);
}  // namespace ZVK_Engine
