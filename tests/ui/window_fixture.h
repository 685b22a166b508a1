// Real windows for the toolkit's tests. Host windows (class "UiTestHost",
// usable for children too) run a recording procedure, so a test sees which
// messages the toolkit passed on to the procedure a window had before it
// was bound.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "ui/core/window_binding.h"

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
  // Every message that reached a recording procedure, in order.
  static std::vector<WindowMessage> reached;
  static bool Reached(UINT message);

 private:
  std::vector<HWND> hosts_;
};

// Whether an icon still exists: a destroyed icon has no info.
bool IconAlive(HICON icon);

// Event handlers for the tests: Recorder<Event::OnChar> appends the event's
// name and arguments (the window left out) to `events` and returns
// `eventResult`.
struct EventRecord {
  std::string name;
  std::vector<INT_PTR> args;
  bool operator==(const EventRecord&) const = default;
};
inline void PrintTo(const EventRecord& record, std::ostream* out) {
  *out << record.name << ::testing::PrintToString(record.args);
}
extern std::vector<EventRecord> events;
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
