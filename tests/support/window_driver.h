// Driving the windows of another process as a person would, for end-to-end
// tests of the window programs (start them with RunningProgram). Nothing here
// can hang a test: every wait has a time-out, clicks are posted, and messages
// that need an answer are sent with a time-out, so a program that blocks in a
// message box or a network request never blocks the test.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr unsigned kWindowWaitMs = 15000;

// Polls the condition until it holds or the time is up; whether it held.
bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs = kWindowWaitMs);

// The process's visible top-level windows, topmost first.
std::vector<HWND> TopLevelWindows(DWORD processId);
// The first visible top-level window of the process that `match` accepts.
HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match, unsigned timeoutMs = kWindowWaitMs);
// The direct children of a window, in z-order.
std::vector<HWND> ChildWindows(HWND parent);

std::wstring ClassName(HWND window);
// The window's text (WM_GETTEXT, so an edit of another process gives its
// contents); empty when the window does not answer in time.
std::wstring WindowText(HWND window);
// Replaces an edit's text (WM_SETTEXT); false when it was not taken in time.
bool SetWindowTextTo(HWND window, std::wstring_view text);
// Clicks the button with the id on a dialog, the way the button itself
// reports a click to its parent: WM_COMMAND BN_CLICKED, posted.
bool ClickButton(HWND dialog, int id);

// A message box as the user sees it.
struct MessageBoxView {
  HWND window = nullptr;
  std::wstring title;
  std::wstring text;
};
// The first message box the process shows within the time, other than
// `besides` (a box already up): a dialog window with a text and buttons but
// no edit box.
std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, HWND besides = nullptr,
                                                unsigned timeoutMs = kWindowWaitMs);
// Presses a message box's button (IDOK, IDCANCEL, ...) and waits until the
// box has gone; false when it stays.
bool PressMessageBoxButton(const MessageBoxView& box, int id, unsigned timeoutMs = kWindowWaitMs);

// The clipboard's text as UTF-16; nothing when it holds no text or another
// program keeps it open for the whole time.
std::optional<std::wstring> ReadClipboardText(unsigned timeoutMs = kWindowWaitMs);
// Puts UTF-16 text on the clipboard, replacing what it held.
bool WriteClipboardText(std::wstring_view text);
