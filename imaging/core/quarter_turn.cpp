#include "imaging/core/quarter_turn.h"

namespace fernwick {

QuarterTurn TurnForAngle(double angle) noexcept {
  int32_t degrees = static_cast<int32_t>(angle);
  if (degrees < 0) degrees += 360;
  switch (degrees) {
    case 90:
      return {90, 13, true};
    case 180:
      return {180, 14, false};
    case 270:
      return {270, 15, true};
    default:
      return {0, 0, false};
  }
}

}  // namespace fernwick
