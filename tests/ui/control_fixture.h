// Controls hosted as the program hosts them: in a dialog bound to a plain
// window object through a dialog procedure.
#pragma once
#include "ui/controls/control_window.h"
#include "window_fixture.h"

class ControlTest : public WindowTest {
 protected:
  // A hidden modeless dialog from an in-memory template, bound to `dialog`.
  void SetUp() override;
  void TearDown() override;
  // Binds the dialog on WM_INITDIALOG and routes its messages to the
  // binding; what no level handles is recorded in `reached`.
  static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Whether the dialog received WM_COMMAND with this wParam and lParam 0.
  static bool ReachedCommand(WPARAM wParam);

  WindowObject dialog;
};

// Records a control event as {event name, {control, id}}; returns 7, which
// the toolkit ignores.
template <const Event::Control& kEvent>
INT_PTR CALLBACK RecordControlEvent(HWND control, INT_PTR id) {
  events.push_back({kEvent.name, {AsInteger(control), id}});
  return 7;
}
