#pragma once

#include <windows.h>

#include <string>

// Saves what the window's client area shows on screen as a PNG file (GDI+).
bool SaveWindowPng(HWND window, const std::wstring& path);
