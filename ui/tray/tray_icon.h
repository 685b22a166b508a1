// ui/tray: the notification-area icon of a top-level window. The shell's
// record of the icon ("NotifyiconData"), the icon shown ("NotifyIcon") and
// the number of the shell's "TaskbarCreated" message ("TaskbarCreatedMsg")
// live in the window's property map; the operations that use them are
// TopWindow's (ui/dialogs/top_window.h). The shell's notifications reach
// "OnNotifIcon" with a small event code, and the icon is put back when the
// shell restarts.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include "ui/core/window_binding.h"

// The message the shell sends the window about its icon.
inline constexpr UINT kTrayCallbackMessage = 0x3019;

// The shell's record without its GUID member: 936 bytes on the 32-bit build.
inline constexpr DWORD kTrayRecordSize = NOTIFYICONDATAW_V2_SIZE;
static_assert(sizeof(void*) != 4 || kTrayRecordSize == 936);

// "OnNotifIcon"'s code for a shell notification: 1 left and 2 right button
// up, 3 left and 4 right double click, 5 move, 6 balloon shown, 7 balloon
// timed out, 8 balloon clicked; 0 for anything else.
int TrayEventCode(UINT notification);

// The top-level window level's part, for kTrayCallbackMessage and every
// other message: calls "OnNotifIcon" (capturing the mouse from a button
// press to its release), and adds the icon again when the message is the
// shell's "TaskbarCreated".
void HandleTrayMessage(WindowBinding& binding, const WindowMessage& message);
// Takes the icon out of the shell and frees the icon and the record.
void ReleaseTrayIcon(WindowBinding& binding);
