// The wheel's lines per notch as the user set them in the system.
#pragma once

namespace kontaktel {

// SPI_GETWHEELSCROLLLINES: 3 by default, 0 for no scrolling, kWheelPageScroll
// for a page per notch; 3 when the system does not answer.
unsigned WheelScrollLines();

// Test seam (the system setting lives in the registry of the test machine):
// with `active`, WheelScrollLines answers `lines`.
void SetWheelLinesOverride(bool active, unsigned lines);

}  // namespace kontaktel
