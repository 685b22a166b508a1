// One run of the get-link command off the window's thread: the online check
// and the resolution run on a worker with its own COM apartment, which hands
// the outcome back by posting one message to the window.
#pragma once
#include <windows.h>

#include <memory>

#include "app/window_settings.h"
#include "runtime/text.h"

// What a run works on: the edits' texts as they were at the click, and the
// window's settings. The worker owns them.
struct GetLinkInputs {
  Text link;
  Text password;
  WindowSettings settings;
};

// How a run ended: at the first check that failed, or with a resolution.
struct GetLinkOutcome {
  enum class End { kOffline, kNoLink, kResolved };
  End end = End::kOffline;
  int passwordGiven = 0;  // kResolved: 1 when a password was sent
  Text link{};            // kResolved: the direct link, empty on failure
};

// Starts the run. When it ends, `message` is posted to `window` with the
// outcome in lParam, for TakeGetLinkOutcome; a window that has gone by then
// never hears of it. False when no worker could be started.
bool StartGetLinkRun(HWND window, UINT message, GetLinkInputs inputs);
std::unique_ptr<GetLinkOutcome> TakeGetLinkOutcome(LPARAM lParam);
