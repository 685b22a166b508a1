// Drives a running modal dialog with real messages: each step runs from a
// thread timer of the dialog's own modal loop once the messages of the
// step before have been handled. A dialog still up three seconds after its
// last step is ended with kTimedOut, so no dialog test can hang the suite.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "ui/core/window_object.h"

inline constexpr INT_PTR kTimedOut = -77;

using DialogStep = std::function<void(HWND dialog)>;

// Runs `show` (which shows `dialog` modally) while the steps run.
INT_PTR DriveModal(const WindowObject& dialog, const std::function<INT_PTR()>& show, std::vector<DialogStep> steps);

// An "OnWndMsg" handler recording each button's command to its dialog as
// {"clicked", {id}} in `events` (window_fixture.h); it takes nothing.
INT_PTR CALLBACK RecordButtonClicks(HWND window, UINT_PTR message, WPARAM wParam, LPARAM lParam, INT_PTR* handled);

// Attaches `button` to the dialog's item `id` and stores its binding, with
// the reference the window then holds, under `key` ("DefaultButton",
// "CancelButton").
void StoreButton(WindowObject& window, const char* key, WindowObject& button, int id);
