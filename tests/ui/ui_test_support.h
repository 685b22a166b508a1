// Real windows for the toolkit's tests, shared by every test file: host
// windows and a dialog host whose unhandled messages are recorded, a bounded
// pump, a driver for modal dialogs, event recorders and icon helpers. GDI+
// runs for the whole test program, as the application object starts it.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/controls/control_window.h"
#include "ui/icons/icon_object.h"

// An in-memory template of a hidden dialog without controls.
struct alignas(4) EmptyDialogTemplate {
  DLGTEMPLATE header{WS_POPUP, 0, 0, 0, 0, 200, 100};
  WORD menu = 0, windowClass = 0, title = 0;
};

// Host windows (class "UiTestHost", usable for children too) run a recording
// procedure, so a test sees what the toolkit passed on to the procedure a
// window had before it was bound.
class WindowTest : public ::testing::Test {
 protected:
  // A top-level window of the recording class, 300 x 200 at (100, 100).
  HWND CreateHost(DWORD style = WS_POPUP);
  // A visible child of a system or test class.
  HWND CreateChild(HWND parent, const wchar_t* className, const wchar_t* text, int id, DWORD style = 0);
  // Registers a class of this module (or finds it registered).
  static bool RegisterTestClass(const wchar_t* name, WNDPROC procedure);
  // Dispatches messages until `done` holds; false after three seconds.
  static bool PumpUntil(const std::function<bool()>& done);
  void TearDown() override;

  static LRESULT CALLBACK RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Binds a dialog from lParam on WM_INITDIALOG and routes its messages to
  // the binding; what no level handles is recorded.
  static INT_PTR CALLBACK RecordingDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Every message that reached a recording procedure, in order.
  static std::vector<WindowMessage> reached;
  static bool Reached(UINT message);
  // Whether WM_COMMAND with this wParam and lParam 0 was recorded.
  static bool ReachedCommand(WPARAM wParam);

 private:
  std::vector<HWND> hosts_;
};

// Controls hosted as the program hosts them: in a hidden modeless dialog
// bound to a plain window object.
class ControlTest : public WindowTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  WindowObject dialog;
};

// Drives a running modal dialog with real messages: each step runs from a
// thread timer of the dialog's own modal loop once the messages of the step
// before have been handled. A dialog still up three seconds after its last
// step is ended with kTimedOut, so no dialog test can hang the suite.
inline constexpr INT_PTR kTimedOut = -77;
using DialogStep = std::function<void(HWND dialog)>;
INT_PTR DriveModal(const WindowObject& dialog, const std::function<INT_PTR()>& show, std::vector<DialogStep> steps);

// Attaches `button` to the dialog's item `id` and stores its binding, with
// the reference the window then holds, under `key` ("DefaultButton",
// "CancelButton"), leaving the item's style alone.
void StoreButton(WindowObject& window, const char* key, WindowObject& button, int id);

// A copy of the system's application icon; whether an icon still exists.
IconObject ApplicationIcon();
bool IconAlive(HICON icon);

// What the handlers saw: Recorder<Event::OnChar> appends the event's name
// and arguments (the window left out) to `events` and returns `eventResult`;
// RecordControlEvent keeps the control and id and returns 7, which the
// toolkit ignores; RecordButtonClicks ("OnWndMsg") records each button's
// command to its dialog as {"clicked", {id}} and takes nothing.
struct EventRecord {
  std::string name;
  std::vector<INT_PTR> args;
  bool operator==(const EventRecord&) const = default;
};
inline void PrintTo(const EventRecord& record, std::ostream* out) {
  *out << record.name << ::testing::PrintToString(record.args);
}
using Events = std::vector<EventRecord>;
extern Events events;
extern INT_PTR eventResult;

template <typename T>
INT_PTR AsInteger(T value) {
  if constexpr (std::is_pointer_v<T>) {
    return reinterpret_cast<INT_PTR>(value);
  } else {
    return static_cast<INT_PTR>(value);
  }
}

template <const auto& kEvent, typename... Args>
INT_PTR CALLBACK RecordEvent(HWND, Args... args) {
  events.push_back({kEvent.name, {AsInteger(args)...}});
  return eventResult;
}
template <const auto& kEvent>
inline constexpr auto Recorder = []<typename... Args>(const EventKey<HWND, Args...>&) {
  return &RecordEvent<kEvent, Args...>;
}(kEvent);

template <const Event::Control& kEvent>
INT_PTR CALLBACK RecordControlEvent(HWND control, INT_PTR id) {
  events.push_back({kEvent.name, {AsInteger(control), id}});
  return 7;
}

INT_PTR CALLBACK RecordButtonClicks(HWND window, UINT_PTR message, WPARAM wParam, LPARAM lParam, INT_PTR* handled);
