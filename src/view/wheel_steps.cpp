#include "view/wheel_steps.h"

namespace kontaktel {

namespace {

constexpr int64_t kNotch = 120;

}  // namespace

WheelRate WheelRateFor(unsigned linesPerNotch, int64_t lineStep, int64_t pageStep) {
  if (linesPerNotch == kWheelPageScroll) return WheelRate{pageStep, 1};
  return WheelRate{static_cast<int64_t>(linesPerNotch) * lineStep, 3};
}

int64_t WheelAccumulator::Take(int area, int delta, WheelRate rate) {
  if (area != area_ || !(rate == rate_) || (remainder_ < 0) != (delta < 0)) remainder_ = 0;
  area_ = area;
  rate_ = rate;
  if (delta == 0 || rate.perNotch <= 0 || rate.divisor <= 0) return 0;
  const int64_t total = remainder_ + static_cast<int64_t>(delta) * rate.perNotch;
  const int64_t unit = kNotch * rate.divisor;
  remainder_ = total % unit;  // keeps the sign of the delta
  return total / unit;
}

}  // namespace kontaktel
