// DialogProcedure (ui/dialogs/dialog_window.h): how the dialog manager
// reaches the levels of a toolkit dialog.
#include "ui/core/window_procedure.h"
#include "ui/core/window_registry.h"
#include "ui/dialogs/dialog_window.h"

namespace {

// The dialog manager returns these messages' results as the procedure
// returns them; for every other message a procedure that returns TRUE has
// processed it, and the window's result is the one stored in
// DWLP_MSGRESULT.
bool ResultReturnedDirectly(UINT message) {
  switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM: return true;
    default: return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  }
}

// A message the toolkit handled is processed, whatever its result: a
// handler's 0 (a vetoed close command, say) must not hand the message to
// the dialog manager's default processing.
INT_PTR Processed(HWND window, UINT message, LRESULT result) {
  if (ResultReturnedDirectly(message)) return result;
  SetWindowLongPtrW(window, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace

// The dialog manager does the default processing of whatever it returns 0
// for. Nothing thrown below leaves it.
INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  try {
    if (message == WM_INITDIALOG && lParam) {
      SetClassLongPtrW(window, GCL_STYLE, GetClassLongPtrW(window, GCL_STYLE) | CS_HREDRAW | CS_VREDRAW);
      reinterpret_cast<WindowBinding*>(lParam)->Register(window);
    }
    if (std::optional<LRESULT> result = RouteToBinding({window, message, wParam, lParam}))
      return Processed(window, message, *result);
    // The close is done: left to the dialog manager, it would come back as
    // IDCANCEL, pressing the cancel button and, with "EscClose", closing
    // again without end.
    if (message == WM_CLOSE) {
      WindowBinding* binding = FindBinding(window);
      EndDialog(window, binding ? binding->Get("DialogResult") : 0);
      return TRUE;
    }
  } catch (...) {
  }
  return 0;
}
