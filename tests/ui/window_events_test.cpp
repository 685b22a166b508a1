#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/codepage.h"
#include "ui/core/window_object.h"
#include "ui_test_support.h"

namespace {

// Takes the message over when the test's handlers return 77.
INT_PTR CALLBACK TakeMessage(HWND, UINT_PTR id, WPARAM, LPARAM, INT_PTR* handled) {
  events.push_back({"OnWndMsg", {static_cast<INT_PTR>(id)}});
  *handled = eventResult == 77;
  return eventResult;
}

// Records the dropped paths in the event's name.
INT_PTR CALLBACK RecordDrop(HWND, const char* paths) {
  events.push_back({std::string("OnDropFiles ") + paths, {}});
  return 0;
}
void HandleDrop(WindowObject& window) { window.SetOnDropFiles(RecordDrop); }

// Sets the recording handler of an event with the event's setter.
template <auto kSetter, const auto& kEvent>
void Handle(WindowObject& window) {
  (window.*kSetter)(Recorder<kEvent>);
}
using W = WindowObject;

void TakeOverButtonDown(WindowObject& window) {
  window.SetOnWndMsg(TakeMessage);
  Handle<&W::SetOnLButtonDown, Event::OnLButtonDown>(window);
}

// The WM_DROPFILES wParam of a drop holding the paths, as the shell makes it.
WPARAM MakeDrop(const std::vector<std::wstring>& paths) {
  std::wstring list;
  for (const auto& path : paths) list.append(path).push_back(L'\0');
  list.push_back(L'\0');
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return reinterpret_cast<WPARAM>(memory);
}

}  // namespace

TEST_F(WindowTest, EventKeysReachTheirHandlersAndNonZeroResultsEndTheMessage) {
  std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L".txt";  // read at its full length
  struct Row {
    const char* what;
    void (*set)(WindowObject&);
    INT_PTR handlerResult;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result;
    bool passedOn;
    Events expected;
    bool ctrl = false;
  } rows[] = {
      {"button 0", Handle<&W::SetOnLButtonDown, Event::OnLButtonDown>, 0, WM_LBUTTONDOWN, 0, MAKELPARAM(-3, 7), 0,
       true, {{"OnLButtonDown", {-3, 7, 0}}}},
      {"button 9", Handle<&W::SetOnRButtonUp, Event::OnRButtonUp>, 9, WM_RBUTTONUP, 0, MAKELPARAM(4, 5), 9, false,
       {{"OnRButtonUp", {4, 5, 0}}}},
      {"Ctrl held", Handle<&W::SetOnLButtonDblClk, Event::OnLButtonDblClk>, 1, WM_LBUTTONDBLCLK, 0, MAKELPARAM(1, 2),
       1, false, {{"OnLButtonDblClk", {1, 2, 1}}}, true},
      {"key down", Handle<&W::SetOnKeyDown, Event::OnKeyDown>, 1, WM_KEYDOWN, VK_F5, 0, 0, false,
       {{"OnKeyDown", {VK_F5, 0}}}},
      {"system key up", Handle<&W::SetOnKeyUp, Event::OnKeyUp>, 0, WM_SYSKEYUP, 'A', 0, 0, true, {{"OnKeyUp", {'A', 0}}}},
      {"char", Handle<&W::SetOnChar, Event::OnChar>, 4, WM_CHAR, 'a', 0, 4, false, {{"OnChar", {'a'}}}},
      {"wheel", Handle<&W::SetOnMouseWheel, Event::OnMouseWheel>, 1, WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0, 0, true,
       {{"OnMouseWheel", {-120, 0}}}},
      {"focus", Handle<&W::SetOnKillFocus, Event::OnKillFocus>, 1, WM_KILLFOCUS, 0, 0, 0, true, {{"OnKillFocus", {}}}},
      {"timer", Handle<&W::SetOnTimer, Event::OnTimer>, 0, WM_TIMER, 5, 0, 0, false, {{"OnTimer", {5}}}},
      {"timer without handler", [](WindowObject&) {}, 0, WM_TIMER, 5, 0, 0, true, {}},
      {"OnWndMsg takes over", TakeOverButtonDown, 77, WM_LBUTTONDOWN, 0, 0, 77, false,
       {{"OnWndMsg", {WM_LBUTTONDOWN}}}},
      {"OnWndMsg passes on", TakeOverButtonDown, 0, WM_LBUTTONDOWN, 0, 0, 0, true,
       {{"OnWndMsg", {WM_LBUTTONDOWN}}, {"OnLButtonDown", {0, 0, 0}}}},
      {"dropped files", HandleDrop, 0, WM_DROPFILES, MakeDrop({L"C:\\a.txt", L"C:\\目录\\b.txt"}), 0, 0,
       false, {{"OnDropFiles C:\\a.txt\r\nC:\\目录\\b.txt\r\n", {}}}},
      {"a dropped long path", HandleDrop, 0, WM_DROPFILES, MakeDrop({longPath}), 0, 0, false,
       {{"OnDropFiles " + WideToGbk(longPath) + "\r\n", {}}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    WindowObject window;
    ASSERT_TRUE(window.AttachHandle(CreateHost()));
    row.set(window);
    reached.clear();
    events.clear();
    eventResult = row.handlerResult;
    if (row.ctrl) keybd_event(VK_CONTROL, 0, 0, 0);
    EXPECT_EQ(window.Send(row.message, row.wParam, row.lParam), row.result);
    if (row.ctrl) keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(Reached(row.message), row.passedOn);
    EXPECT_EQ(events, row.expected);
  }
}

// Real pointer moves over a visible window. Wine starts the tracking only
// while the pointer is over the window (Windows reports the leave at once).
TEST_F(WindowTest, HoverCallsOnMouseInOncePerEntry) {
  WindowObject window;
  ASSERT_TRUE(window.AttachHandle(CreateHost(WS_POPUP | WS_VISIBLE)));
  window.SetOnMouseIn(Recorder<Event::OnMouseIn>);
  window.SetOnMouseMove(Recorder<Event::OnMouseMove>);
  window.SetOnMouseLeave(Recorder<Event::OnMouseLeave>);
  auto count = [](const char* name) {
    return std::count_if(events.begin(), events.end(), [name](const EventRecord& e) { return e.name == name; });
  };
  auto pointTo = [&](int x, int y, const char* event, long long times) {
    SetCursorPos(x, y);
    return PumpUntil([&] { return count(event) >= times; });
  };
  ASSERT_TRUE(pointTo(150, 150, "OnMouseMove", 1));
  ASSERT_TRUE(pointTo(160, 150, "OnMouseMove", 2));
  ASSERT_TRUE(pointTo(600, 600, "OnMouseLeave", 1));
  ASSERT_TRUE(pointTo(170, 150, "OnMouseIn", 2));
  std::vector<std::string> names;
  for (const EventRecord& e : events)
    if (names.empty() || names.back() != e.name) names.push_back(e.name);
  EXPECT_EQ(names, (std::vector<std::string>{"OnMouseIn", "OnMouseMove", "OnMouseLeave", "OnMouseIn", "OnMouseMove"}));
  EXPECT_EQ(events.front(), (EventRecord{"OnMouseIn", {50, 50, 0}}));
}

TEST_F(WindowTest, AltCharacterPressesTheButtonWhoseTextMarksIt) {
  ASSERT_TRUE(RegisterTestClass(L"zyButton", DefWindowProcW));
  HWND host = CreateHost();
  HWND panel = CreateChild(host, L"UiTestHost", L"", 1);
  HWND save = CreateChild(panel, L"Button", L"&Save", 11);
  CreateChild(host, L"Button", L"A&&Quit", 12);
  HWND go = CreateChild(host, L"zyButton", L"&Go", 13);
  WindowObject edit;
  ASSERT_TRUE(edit.AttachHandle(CreateChild(host, L"Edit", L"", 14)));
  struct Row {
    wchar_t typed;
    HWND parent;
    HWND pressed;
  } rows[] = {{L's', panel, save}, {L'S', panel, save}, {L'g', host, go}, {L'q', nullptr, nullptr}};
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<char>(row.typed));
    reached.clear();
    edit.Send(WM_SYSCHAR, row.typed, 0);
    std::vector<WindowMessage> commands;
    for (const WindowMessage& m : reached)
      if (m.id == WM_COMMAND) commands.push_back(m);
    if (!row.pressed) {
      EXPECT_TRUE(commands.empty());
      continue;
    }
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].window, row.parent);
    EXPECT_EQ(commands[0].wParam, static_cast<WPARAM>(GetDlgCtrlID(row.pressed)));
    EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(row.pressed));
  }
}
