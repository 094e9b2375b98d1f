#include "view/wheel_lines.h"

#include <windows.h>

namespace kontaktel {

namespace {

bool overridden = false;
unsigned overrideLines = 3;

}  // namespace

unsigned WheelScrollLines() {
  if (overridden) return overrideLines;
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  return lines;
}

void SetWheelLinesOverride(bool active, unsigned lines) {
  overridden = active;
  overrideLines = lines;
}

}  // namespace kontaktel
