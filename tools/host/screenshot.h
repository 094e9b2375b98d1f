#pragma once

#include <windows.h>

#include <string>

// Saves what the window's client area shows on screen as a PNG file (GDI+).
bool SaveWindowPng(HWND window, const std::wstring& path);

// Saves a bitmap as a PNG file (GDI+).
bool SaveBitmapPng(HBITMAP bitmap, const std::wstring& path);
