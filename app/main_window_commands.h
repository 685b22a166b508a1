// The main window's two commands, the "OnClick" handlers of its buttons,
// and the window's state they keep. Every message is a box without owner.
#pragma once
#include <windows.h>

#include "runtime/show_message.h"
#include "runtime/text.h"

// The result of the last resolution; empty until the first one and after a
// failed one.
extern Text resolvedLink;
// 1 when the password box held text at the last check, else 0.
extern int passwordGiven;

// Get the direct link: the online check, the link check, the resolution,
// then the result edit, the clipboard and a box saying how it went. The
// work runs off the window's thread, one run at a time: a click while one
// is in flight starts nothing.
INT_PTR CALLBACK OnGetLinkClick(HWND button, INT_PTR id);
// MainWindow's "OnWndMsg" handler: applies a finished run of the get-link
// command.
INT_PTR CALLBACK OnMainWindowMessage(HWND window, UINT_PTR message, WPARAM wParam, LPARAM lParam, INT_PTR* handled);
// Copy the direct link again: resolvedLink, not the result edit's text.
INT_PTR CALLBACK OnCopyClick(HWND button, INT_PTR id);

// The boxes of both commands.
namespace MessageStyle {
inline constexpr int kInformation = 0x40040;  // MB_OK, MB_ICONINFORMATION, MB_TOPMOST
inline constexpr int kError = 0x40010;        // MB_OK, MB_ICONERROR, MB_TOPMOST
}  // namespace MessageStyle
inline void Tell(const char* text, int style, const char* title) {
  ShowMessage(TypedArg::OfText(text), style, title);
}
