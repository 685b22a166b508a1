#include "dialog_driver.h"

#include "window_fixture.h"

namespace {

struct Script {
  const WindowObject* dialog;
  std::vector<DialogStep> steps;
  size_t next = 0;
  ULONGLONG deadline = 0;
};
Script* running = nullptr;

// Timer messages come only when no other message is waiting.
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

INT_PTR DriveModal(const WindowObject& dialog, const std::function<INT_PTR()>& show, std::vector<DialogStep> steps) {
  Script script{&dialog, std::move(steps), 0, GetTickCount64() + 3000};
  running = &script;
  UINT_PTR timer = SetTimer(nullptr, 0, 10, Tick);
  INT_PTR result = show();
  KillTimer(nullptr, timer);
  running = nullptr;
  return result;
}

INT_PTR CALLBACK RecordButtonClicks(HWND, UINT_PTR message, WPARAM wParam, LPARAM lParam, INT_PTR*) {
  if (message == WM_COMMAND && lParam && HIWORD(wParam) == BN_CLICKED) events.push_back({"clicked", {LOWORD(wParam)}});
  return 0;
}

void StoreButton(WindowObject& window, const char* key, WindowObject& button, int id) {
  button.Attach(GetDlgItem(window.GetHandle(), id));
  button.GetBinding()->AddRef();
  window.SetProperty(key, reinterpret_cast<INT_PTR>(button.GetBinding()));
}
