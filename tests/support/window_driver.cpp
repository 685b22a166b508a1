#include "support/window_driver.h"

#include <algorithm>

namespace {

constexpr UINT kAnswerTimeoutMs = 5000;
constexpr DWORD kPollMs = 20;

BOOL CALLBACK CollectWindow(HWND window, LPARAM into) noexcept {
  reinterpret_cast<std::vector<HWND>*>(into)->push_back(window);
  return TRUE;
}

bool IsMessageBox(HWND window) {
  if (ClassName(window) != L"#32770") return false;
  bool hasText = false, hasButton = false, hasEdit = false;
  for (HWND child : ChildWindows(window)) {
    std::wstring kind = ClassName(child);
    hasText |= kind == L"Static" && !WindowText(child).empty();
    hasButton |= kind == L"Button";
    hasEdit |= kind == L"Edit";
  }
  return hasText && hasButton && !hasEdit;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, unsigned timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
  return true;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  std::vector<HWND> all, windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId && IsWindowVisible(window)) windows.push_back(window);
  }
  return windows;
}

HWND WaitForWindow(DWORD processId, const std::function<bool(HWND)>& match, unsigned timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND window : TopLevelWindows(processId)) {
          if (match(window)) return (found = window) != nullptr;
        }
        return false;
      },
      timeoutMs);
  return found;
}

std::vector<HWND> ChildWindows(HWND parent) {
  std::vector<HWND> all, children;
  EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&all));
  for (HWND child : all) {
    if (GetParent(child) == parent) children.push_back(child);
  }
  return children;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256];
  int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length > 0 ? length : 0);
}

std::wstring WindowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &length)) return {};
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           kAnswerTimeoutMs, &copied)) {
    return {};
  }
  text.resize(copied);
  return text;
}

bool SetWindowTextTo(HWND window, std::wstring_view text) {
  std::wstring terminated(text);
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(terminated.c_str()), SMTO_ABORTIFHUNG,
                             kAnswerTimeoutMs, &result) &&
         result == TRUE;
}

bool ClickButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  return button && PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::optional<MessageBoxView> WaitForMessageBox(DWORD processId, HWND besides, unsigned timeoutMs) {
  HWND window = WaitForWindow(processId, [&](HWND w) { return w != besides && IsMessageBox(w); }, timeoutMs);
  if (!window) return std::nullopt;
  MessageBoxView box;
  box.window = window;
  box.title = WindowText(window);
  for (HWND child : ChildWindows(window)) {
    if (ClassName(child) == L"Static" && box.text.empty()) box.text = WindowText(child);
  }
  return box;
}

bool PressMessageBoxButton(const MessageBoxView& box, int id, unsigned timeoutMs) {
  return ClickButton(box.window, id) && WaitUntil([&] { return !IsWindow(box.window); }, timeoutMs);
}

std::optional<std::wstring> ReadClipboardText(unsigned timeoutMs) {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, timeoutMs)) return std::nullopt;
  std::optional<std::wstring> text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* characters = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = std::wstring(characters, wcsnlen(characters, GlobalSize(data) / sizeof(wchar_t)));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

bool WriteClipboardText(std::wstring_view text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool placed = false;
  if (HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (text.size() + 1) * sizeof(wchar_t))) {
    std::copy(text.begin(), text.end(), static_cast<wchar_t*>(GlobalLock(block)));
    GlobalUnlock(block);
    placed = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    if (!placed) GlobalFree(block);
  }
  CloseClipboard();
  return placed;
}
