#pragma once
// The view's scrolling arithmetic, one axis at a time, and the wheel's running total.
#include <cstdint>
#include <vector>

namespace fernwick {

struct ScrollAxis {
  int32_t offset = 0;
  int32_t content = 0;
  int32_t client = 0;
  int32_t line = 0;
  int32_t page = 0;

  // Steps follow the content: a hundredth per line, a tenth per page, each at least 1.
  void SetContent(int32_t size) noexcept;
  int32_t MaxOffset() const noexcept { return content > client ? content - client : 0; }
  // Clamps a wanted offset into 0 .. content - client and returns it.
  int32_t Clamp(int32_t wanted) const noexcept;
  bool Scrollable() const noexcept { return content > client; }
};

// What a scroll-bar request asks for; thumbPosition is only read for the thumb requests.
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Top, Bottom, Thumb, None };
int32_t OffsetForRequest(const ScrollAxis& axis, ScrollRequest request, int32_t thumbPosition) noexcept;

// Where one wheel notch of `distance` takes the axis: down the content first, then up; a
// direction in which the axis cannot move is left out. The view draws these ahead while idle.
std::vector<int32_t> NotchTargets(const ScrollAxis& axis, int32_t distance);

// Adds a wheel delta to the running total and says how many steps to scroll: (|total| x
// lines - 1) / 120 + 1, negative toward the start (a wheel turned away from the user, positive
// delta). Keeps the total modulo 120 afterwards.
class WheelAccumulator {
 public:
  int32_t Add(int32_t delta, int32_t wheelLines) noexcept;

 private:
  int32_t total_ = 0;
};

}  // namespace fernwick
