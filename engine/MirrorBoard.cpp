#include "engine/MirrorBoard.h"

#include "engine/ZVK_Engine.h"

namespace ZVK_Engine {

namespace {
int32_t Exchanged(int32_t code) {
  if (code == kKingPositive) return kKingNegative;
  if (code == kKingNegative) return kKingPositive;
  return -code;
}
}  // namespace

void MirroredCopy(EngineBoard& destination, const EngineBoard& source) {
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) destination(x, y) = Exchanged(source(9 - x, 9 - y));
}

}  // namespace ZVK_Engine

namespace ZVK_Board_Sub {

void MirrorBoard() {
  using namespace ZVK_Engine;
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) gBestBoard(x, y) = Exchanged(gVirtualBoard(x, y));
  for (int y = 1; y <= 8; ++y)
    for (int x = 1; x <= 8; ++x) gVirtualBoard(x, y) = gBestBoard(9 - x, 9 - y);
}

}  // namespace ZVK_Board_Sub
