// Turning wheel deltas into whole scroll steps. Precision touchpads and
// free-spinning wheels send many messages with small deltas: they must move
// as far as the notches (120 each) they add up to, no further.
#pragma once

#include <cstdint>

namespace kontaktel {

// SPI_GETWHEELSCROLLLINES's answer for "a page per notch".
inline constexpr unsigned kWheelPageScroll = 0xFFFFFFFFu;

// How far one notch moves: `perNotch` / `divisor` steps (rows or pixels).
struct WheelRate {
  int64_t perNotch = 0;
  int64_t divisor = 1;
  bool operator==(const WheelRate&) const = default;
};

// The system's lines per notch as a rate: a notch moves `lines` / 3 line
// steps (the default of 3 lines moves one step), a page step for
// kWheelPageScroll, nothing for 0.
WheelRate WheelRateFor(unsigned linesPerNotch, int64_t lineStep, int64_t pageStep);

// The part of a step not yet moved. It is dropped when the direction, the
// area or the rate changes, so that a reversal moves at once.
class WheelAccumulator {
 public:
  // Adds a delta (positive: away from the user, i.e. up) over `area` and
  // returns the whole steps to move, positive for up.
  int64_t Take(int area, int delta, WheelRate rate);

 private:
  int area_ = -1;
  WheelRate rate_;
  int64_t remainder_ = 0;  // in delta x perNotch units
};

}  // namespace kontaktel
