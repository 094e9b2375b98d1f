// Wheel deltas into whole steps: notches, fractions, reversals and rates.
#include "view/wheel_steps.h"

#include <gtest/gtest.h>

#include <vector>

namespace kontaktel {
namespace {

TEST(WheelSteps, DeltasAccumulatePerDirectionAndArea) {
  const WheelRate row = WheelRateFor(3, 1, 7);  // a row per notch at the default 3 lines
  struct Case {
    std::vector<int> deltas;
    int area;  // the same for every delta, except where `switchArea` says
    bool switchArea;
    WheelRate rate;
    std::vector<long long> steps;
  };
  const Case cases[] = {
      {{30, 30, 30, 30}, 0, false, row, {0, 0, 0, 1}},
      {{120, -120, -240}, 0, false, row, {1, -1, -2}},
      {{-90, 60, -90}, 0, false, row, {0, 0, 0}},  // a reversal drops the remainder
      {{90, 30}, 0, true, row, {0, 0}},            // so does the other area
      {{120, 120, 120}, 0, false, WheelRateFor(1, 1, 7), {0, 0, 1}},
      {{120, 40}, 0, false, WheelRateFor(6, 1, 7), {2, 0}},
      {{120, -120}, 0, false, WheelRateFor(0, 1, 7), {0, 0}},
      {{-120, -60, -60}, 0, false, WheelRateFor(kWheelPageScroll, 1, 7), {-7, -3, -4}},
      {{-120, -30, -10}, 1, false, WheelRateFor(3, 40, 288), {-40, -10, -3}},
      {{-120, -120, -120}, 1, false, WheelRateFor(1, 40, 288), {-13, -13, -14}},
  };
  for (const Case& c : cases) {
    WheelAccumulator wheel;
    std::vector<long long> steps;
    for (size_t i = 0; i < c.deltas.size(); ++i) {
      const int area = c.switchArea && i > 0 ? c.area + 1 : c.area;
      steps.push_back(wheel.Take(area, c.deltas[i], c.rate));
    }
    EXPECT_EQ(steps, c.steps) << c.deltas.front() << " x" << c.deltas.size();
  }
}

}  // namespace
}  // namespace kontaktel
