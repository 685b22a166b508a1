#include "ui_test_support.h"

#include <algorithm>

#include "ui/core/window_procedure.h"
#include "ui/fonts/gdiplus_api.h"

std::vector<WindowMessage> WindowTest::reached;
Events events;
INT_PTR eventResult = 0;

namespace {

constexpr wchar_t kHostClass[] = L"UiTestHost";

// GDI+ runs for the whole test program, as the application object starts it.
const ULONG_PTR kGdiplusToken = [] {
  ULONG_PTR token = 0;
  Gdiplus::GdiplusStartupInput input;  // version 1
  return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok ? token : 0;
}();

// The modal dialog DriveModal runs. Timer messages come only when no other
// message is waiting.
struct Script {
  const WindowObject* dialog;
  std::vector<DialogStep> steps;
  size_t next = 0;
  ULONGLONG deadline = 0;
};
Script* running = nullptr;

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  HWND window = running ? running->dialog->GetHandle() : nullptr;
  if (!window) return;
  if (running->next < running->steps.size()) {
    running->steps[running->next++](window);
    running->deadline = GetTickCount64() + 3000;
  } else if (GetTickCount64() > running->deadline) {
    EndDialog(window, kTimedOut);
  }
}

}  // namespace

LRESULT CALLBACK WindowTest::RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  reached.push_back({window, message, wParam, lParam});
  return DefWindowProcW(window, message, wParam, lParam);
}

bool WindowTest::Reached(UINT message) {
  return std::ranges::any_of(reached, [=](const WindowMessage& m) { return m.id == message; });
}

bool WindowTest::ReachedCommand(WPARAM wParam) {
  return std::ranges::any_of(
      reached, [=](const WindowMessage& m) { return m.id == WM_COMMAND && m.wParam == wParam && m.lParam == 0; });
}

bool WindowTest::RegisterTestClass(const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND WindowTest::CreateHost(DWORD style) {
  EXPECT_TRUE(RegisterTestClass(kHostClass, RecordingProcedure));
  HWND host = CreateWindowExW(0, kHostClass, L"host", style, 100, 100, 300, 200, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  hosts_.push_back(host);
  return host;
}

HWND WindowTest::CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, int id, DWORD style) {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10 + 30 * (id % 5), 120, 24, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

bool WindowTest::PumpUntil(const std::function<bool()>& done) {
  ULONGLONG deadline = GetTickCount64() + 3000;
  while (!done()) {
    if (GetTickCount64() > deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG msg;  // messages that keep posting themselves cannot hold it past the deadline
    while (GetTickCount64() <= deadline && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  return true;
}

void WindowTest::TearDown() {
  for (HWND host : hosts_) DestroyWindow(host);
  reached.clear();
  events.clear();
  eventResult = 0;
}

INT_PTR CALLBACK WindowTest::RecordingDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) reinterpret_cast<WindowBinding*>(lParam)->Register(window);
  if (std::optional<LRESULT> result = RouteToBinding({window, message, wParam, lParam})) return *result;
  reached.push_back({window, message, wParam, lParam});
  return FALSE;
}

void ControlTest::SetUp() {
  EmptyDialogTemplate dialogTemplate;
  ASSERT_NE(dialog.CreateDialogFromTemplate(&dialogTemplate.header, nullptr, RecordingDialogProcedure), nullptr);
}

void ControlTest::TearDown() {
  DestroyWindow(dialog.Handle());
  WindowTest::TearDown();
}

INT_PTR DriveModal(const WindowObject& dialog, const std::function<INT_PTR()>& show, std::vector<DialogStep> steps) {
  Script script{&dialog, std::move(steps), 0, GetTickCount64() + 3000};
  running = &script;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
  INT_PTR result = show();
  KillTimer(nullptr, timer);
  running = nullptr;
  return result;
}

void StoreButton(WindowObject& window, const char* key, WindowObject& button, int id) {
  button.Attach(GetDlgItem(window.GetHandle(), id));
  button.GetBinding()->AddRef();
  window.SetProperty(key, reinterpret_cast<INT_PTR>(button.GetBinding()));
}

IconObject ApplicationIcon() {
  IconObject icon;
  icon.Adopt(CopyIcon(LoadIconW(nullptr, MAKEINTRESOURCEW(32512))));  // IDI_APPLICATION
  return icon;
}

bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}

INT_PTR CALLBACK RecordButtonClicks(HWND, UINT_PTR message, WPARAM wParam, LPARAM lParam, INT_PTR*) {
  if (message == WM_COMMAND && lParam && HIWORD(wParam) == BN_CLICKED) events.push_back({"clicked", {LOWORD(wParam)}});
  return 0;
}
