#pragma once
// A photo's turn, from the angle the user chose to what the pixels, the JPEG encoder and the
// displayed size make of it. The one place that reads an angle.
#include <cstdint>

namespace fernwick {

// Negative angles count from 360 (-90 is 270); anything but a quarter, half or three-quarter
// turn is no turn.
struct QuarterTurn {
  int32_t degrees = 0;          // clockwise: 0, 90, 180 or 270
  uint32_t transformValue = 0;  // the encoder's lossless transformation: 13, 14, 15; 0 for none
  bool swapsSides = false;      // width and height trade places
};
QuarterTurn TurnForAngle(double angle) noexcept;

}  // namespace fernwick
