#include "ui/tray/tray_icon.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "runtime/codepage.h"
#include "runtime/text.h"
#include "ui/dialogs/top_window.h"
#include "ui/icons/icon_object.h"

namespace {

constexpr UINT kTrayIconId = 1;
constexpr UINT kShowFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr UINT kBalloonFlags = kShowFlags | NIF_STATE | NIF_INFO;

NOTIFYICONDATAW* Record(const WindowBinding& binding) { return binding.GetHandle<NOTIFYICONDATAW*>("NotifyiconData"); }

void FreeRecord(WindowBinding& binding) {
  binding.FreeHandle<NOTIFYICONDATAW*>("NotifyiconData", [](NOTIFYICONDATAW* record) { delete record; });
}

// Copies as much of `text` as fits with its terminator, without splitting
// a surrogate pair.
template <size_t kUnits>
void CopyField(wchar_t (&field)[kUnits], const wchar_t* text) {
  std::wstring_view view(text ? text : L"");
  size_t length = std::min(view.size(), kUnits - 1);
  if (length < view.size() && length > 0 && IS_HIGH_SURROGATE(view[length - 1])) --length;
  std::copy_n(view.data(), length, field);
  field[length] = L'\0';
}

std::wstring Wide(const char* text) { return GbkToWide(TextView(text)); }

// The window's own copy of `icon` becomes "NotifyIcon"; the copy it
// replaces is returned for the caller to destroy once the shell has the new
// one.
HICON StoreIconCopy(WindowBinding& binding, HICON icon) {
  auto previous = binding.GetHandle<HICON>("NotifyIcon");
  HICON copy = icon ? CopyIcon(icon) : nullptr;
  binding.Set("NotifyIcon", reinterpret_cast<INT_PTR>(copy));
  return previous;
}

// Button presses capture the mouse until the button's release.
void NotifyTrayEvent(WindowBinding& binding, const WindowMessage& m) {
  if (!binding.Get(Event::OnNotifIcon.name)) return;
  UINT notification = LOWORD(m.lParam);
  if (notification == WM_LBUTTONDOWN || notification == WM_RBUTTONDOWN) {
    SetCapture(m.window);
    return;
  }
  int code = TrayEventCode(notification);
  if (!code) return;
  binding.Call(Event::OnNotifIcon, m.window, code);
  if (code <= 2) ReleaseCapture();
}

}  // namespace

int TrayEventCode(UINT notification) {
  switch (notification) {
    case WM_LBUTTONUP: return 1;
    case WM_RBUTTONUP: return 2;
    case WM_LBUTTONDBLCLK: return 3;
    case WM_RBUTTONDBLCLK: return 4;
    case WM_MOUSEMOVE: return 5;
    case NIN_BALLOONSHOW: return 6;
    case NIN_BALLOONTIMEOUT: return 7;
    case NIN_BALLOONUSERCLICK: return 8;
    default: return 0;
  }
}

// The shell forgets its icons when it restarts. Every message the top-level
// level leaves comes here, so the record is looked up for the shell's only.
void HandleTrayMessage(WindowBinding& binding, const WindowMessage& message) {
  if (message.id == kTrayCallbackMessage) return NotifyTrayEvent(binding, message);
  INT_PTR taskbarCreated = binding.Get("TaskbarCreatedMsg");
  if (!taskbarCreated || message.id != static_cast<UINT>(taskbarCreated)) return;
  NOTIFYICONDATAW* record = Record(binding);
  if (!record) return;
  Shell_NotifyIconW(NIM_DELETE, record);
  record->uFlags = kShowFlags;
  Shell_NotifyIconW(NIM_ADD, record);
}

void ReleaseTrayIcon(WindowBinding& binding) {
  if (NOTIFYICONDATAW* record = Record(binding)) Shell_NotifyIconW(NIM_DELETE, record);
  FreeRecord(binding);
  binding.FreeHandle<HICON>("NotifyIcon", DestroyIcon);
}

// A second icon replaces the first: the shell would refuse to add an icon
// it shows already.
bool TopWindow::AddTrayIcon(const IconObject& icon, const wchar_t* tip) {
  if (!icon.Native()) return RemoveTrayIcon();
  WindowBinding& binding = *GetBinding();
  if (!binding.Get("TaskbarCreatedMsg")) binding.Set("TaskbarCreatedMsg", RegisterWindowMessageW(L"TaskbarCreated"));
  if (NOTIFYICONDATAW* shown = Record(binding)) Shell_NotifyIconW(NIM_DELETE, shown);
  FreeRecord(binding);
  auto* record = new NOTIFYICONDATAW{};
  binding.Set("NotifyiconData", reinterpret_cast<INT_PTR>(record));
  if (HICON previous = StoreIconCopy(binding, icon.Native())) DestroyIcon(previous);
  record->cbSize = kTrayRecordSize;
  record->hWnd = Handle();
  record->uID = kTrayIconId;
  record->uFlags = kShowFlags;
  record->uCallbackMessage = kTrayCallbackMessage;
  record->hIcon = binding.GetHandle<HICON>("NotifyIcon");
  CopyField(record->szTip, tip);
  return Shell_NotifyIconW(NIM_ADD, record);
}

bool TopWindow::AddTrayIcon(const IconObject& icon, const char* tip) { return AddTrayIcon(icon, Wide(tip).c_str()); }

bool TopWindow::SetTrayTip(const wchar_t* tip) {
  NOTIFYICONDATAW* record = Record(*GetBinding());
  if (!record) return false;
  record->uFlags = kShowFlags;
  CopyField(record->szTip, tip);
  return Shell_NotifyIconW(NIM_MODIFY, record);
}

bool TopWindow::SetTrayTip(const char* tip) { return SetTrayTip(Wide(tip).c_str()); }

bool TopWindow::SetTrayIcon(const IconObject& icon) {
  NOTIFYICONDATAW* record = Record(*GetBinding());
  if (!record) return false;
  HICON previous = StoreIconCopy(*GetBinding(), icon.Native());
  record->uFlags = kShowFlags;
  record->hIcon = GetBinding()->GetHandle<HICON>("NotifyIcon");
  bool accepted = Shell_NotifyIconW(NIM_MODIFY, record);
  if (previous) DestroyIcon(previous);
  return accepted;
}

bool TopWindow::ShowTrayBalloon(const wchar_t* text, const wchar_t* title, DWORD iconFlags, UINT timeout) {
  NOTIFYICONDATAW* record = Record(*GetBinding());
  if (!record) return false;
  record->uFlags = kBalloonFlags;
  CopyField(record->szInfo, text);
  CopyField(record->szInfoTitle, title);
  record->uTimeout = timeout;
  record->dwInfoFlags = iconFlags;
  return Shell_NotifyIconW(NIM_MODIFY, record);
}

bool TopWindow::ShowTrayBalloon(const char* text, const char* title, DWORD iconFlags, UINT timeout) {
  return ShowTrayBalloon(Wide(text).c_str(), Wide(title).c_str(), iconFlags, timeout);
}

bool TopWindow::RemoveTrayIcon() {
  NOTIFYICONDATAW* record = Record(*GetBinding());
  return record && Shell_NotifyIconW(NIM_DELETE, record);
}
