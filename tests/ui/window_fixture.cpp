#include "window_fixture.h"

std::vector<WindowMessage> WindowTest::reached;
std::vector<EventRecord> events;
INT_PTR eventResult = 0;

namespace {
constexpr wchar_t kHostClass[] = L"UiTestHost";
}

LRESULT CALLBACK WindowTest::RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  reached.push_back({window, message, wParam, lParam});
  return DefWindowProcW(window, message, wParam, lParam);
}

bool WindowTest::Reached(UINT message) {
  for (const WindowMessage& m : reached)
    if (m.id == message) return true;
  return false;
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

bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return false;
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return true;
}
