// The window procedure that every subclassed toolkit window runs, and the
// routing step it shares with the dialog procedures.
#pragma once
#include <windows.h>

#include <optional>

#include "ui/core/window_binding.h"

// Routes the messages of bound windows through their binding's level chain;
// what no level handles goes to the window's previous procedure. Nothing
// thrown below it leaves it: the message then gets its default processing.
LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

// The level chain's result for a message of a bound window, when a level
// handled it; nothing for an unbound window or an unhandled message.
std::optional<LRESULT> RouteToBinding(const WindowMessage& message);

// `previous` (a window's procedure before it was bound), else DefWindowProcW.
LRESULT CallPreviousProcedure(WNDPROC previous, const WindowMessage& message);
