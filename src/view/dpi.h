// The DPI of one viewer window, from which every length, font, character
// height, twips conversion and scroll bar width is taken. The file manager is
// per-monitor aware: its Lister window may sit on a monitor whose scale is not
// the system's, so nothing is taken from the system DPI.
#pragma once

#include <windows.h>

namespace kontaktel {

// GetDpiForWindow where the system has it; else the device context's (in a
// per-monitor-aware process that is the system DPI); 96 when neither answers.
int WindowDpi(HWND window);

// A system metric at a DPI: GetSystemMetricsForDpi where the system has it,
// else the system's value scaled from the device context's DPI.
int SystemMetricForDpi(int index, int dpi);

// The width of a vertical scroll bar in the window.
int ScrollBarWidth(HWND window);

// Test seam (Wine cannot move a window between monitors of different
// scales): every window reports this DPI; 0 gives the system's answer back.
void SetDpiOverride(int dpi);

}  // namespace kontaktel
