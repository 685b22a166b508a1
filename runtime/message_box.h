// Every box the runtime and the program show goes through here: GBK texts
// are shown through the W function so they read correctly on any Windows.
#pragma once
#include <windows.h>

// Texts of up to 1023 characters (every box of the runtime) are converted in
// fixed buffers: the out-of-memory box needs no memory to be shown.
int RuntimeMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Test seam: replaces the platform box, receiving the texts as the platform
// would; returns the previous handler (null restores the platform box).
using MessageBoxHandler = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style);
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
