#include "control_fixture.h"

#include "ui/core/window_procedure.h"

INT_PTR CALLBACK ControlTest::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) reinterpret_cast<WindowBinding*>(lParam)->Register(window);
  if (std::optional<LRESULT> result = RouteToBinding({window, message, wParam, lParam})) return *result;
  reached.push_back({window, message, wParam, lParam});
  return FALSE;
}

bool ControlTest::ReachedCommand(WPARAM wParam) {
  for (const WindowMessage& m : reached)
    if (m.id == WM_COMMAND && m.wParam == wParam && m.lParam == 0) return true;
  return false;
}

void ControlTest::SetUp() {
  struct alignas(4) {
    DLGTEMPLATE header{WS_POPUP, 0, 0, 0, 0, 200, 100};
    WORD menu = 0, windowClass = 0, title = 0;
  } dialogTemplate;
  ASSERT_NE(dialog.CreateDialogFromTemplate(&dialogTemplate.header, nullptr, DialogProcedure), nullptr);
}

void ControlTest::TearDown() {
  DestroyWindow(dialog.Handle());
  WindowTest::TearDown();
}
