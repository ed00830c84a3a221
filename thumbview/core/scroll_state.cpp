#include "thumbview/core/scroll_state.h"

#include <algorithm>
#include <cstdlib>

namespace fernwick {

void ScrollAxis::SetContent(int32_t size) noexcept {
  content = size;
  line = std::max(size / 100, 1);
  page = std::max(size / 10, 1);
}

int32_t ScrollAxis::Clamp(int32_t wanted) const noexcept { return std::clamp(wanted, 0, MaxOffset()); }

int32_t OffsetForRequest(const ScrollAxis& axis, ScrollRequest request, int32_t thumbPosition) noexcept {
  switch (request) {
    case ScrollRequest::LineUp:
      return axis.Clamp(axis.offset - axis.line);
    case ScrollRequest::LineDown:
      return axis.Clamp(axis.offset + axis.line);
    case ScrollRequest::PageUp:
      return axis.Clamp(axis.offset - axis.page);
    case ScrollRequest::PageDown:
      return axis.Clamp(axis.offset + axis.page);
    case ScrollRequest::Top:
      return 0;
    case ScrollRequest::Bottom:
      return axis.MaxOffset();
    case ScrollRequest::Thumb:
      return axis.Clamp(thumbPosition);
    case ScrollRequest::None:
      break;
  }
  return axis.offset;
}

std::vector<int32_t> NotchTargets(const ScrollAxis& axis, int32_t distance) {
  std::vector<int32_t> targets;
  for (const int32_t wanted : {axis.offset + distance, axis.offset - distance}) {
    if (const int32_t target = axis.Clamp(wanted); target != axis.offset) targets.push_back(target);
  }
  return targets;
}

int32_t WheelAccumulator::Add(int32_t delta, int32_t wheelLines) noexcept {
  total_ += delta;
  int32_t steps = 0;
  const int32_t amount = std::abs(total_) * wheelLines;
  if (amount > 0) {
    steps = (amount - 1) / 120 + 1;
    // The direction is this turn's: away from the user (positive) scrolls toward the start.
    if (delta > 0) steps = -steps;
  }
  total_ %= 120;
  return steps;
}

}  // namespace fernwick
