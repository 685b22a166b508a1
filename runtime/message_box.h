// Every box the runtime and the program show goes through here: GBK texts
// are shown through the W function so they read correctly on any Windows.
#pragma once
#include <windows.h>

int RuntimeMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Test seam: replaces the platform box; returns the previous handler
// (null restores the platform box).
using MessageBoxHandler = int (*)(HWND owner, const char* text, const char* caption, UINT style);
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
