#include <functional>
#include <memory>

#include "ui/core/window_object.h"
#include "ui/core/window_procedure.h"
#include "ui_test_support.h"

namespace {

// A class level as the control levels build them: WM_APP is its own
// message; layout messages are recorded.
LRESULT TestLevelMessage(WindowBinding&, const WindowMessage& m, bool& handled) {
  if (m.id == kLayoutSizeMessage || m.id == kLayoutApplyMessage)
    events.push_back({"layout", {static_cast<INT_PTR>(m.id), static_cast<INT_PTR>(m.wParam), m.lParam}});
  handled = m.id == WM_APP;
  return handled ? 42 : 0;
}

const WindowLevel kTestLevel{&kWindowObjectLevel, TestLevelMessage, nullptr, nullptr};

INT_PTR CALLBACK TakeEveryMessage(HWND, UINT_PTR, WPARAM, LPARAM, INT_PTR* handled) {
  *handled = 1;
  return 0;
}

struct Probe : WindowObject {
  explicit Probe(bool& destroyed) : destroyed(destroyed) {}
  ~Probe() override { destroyed = true; }
  bool& destroyed;
};

}  // namespace

TEST_F(WindowTest, LevelsHandleTheirOwnMessagesBeforeTheBaseAndLayoutsFollowTheSize) {
  WindowObject window;
  window.GetBinding()->PutLevel(kTestLevel);
  ASSERT_TRUE(window.AttachHandle(CreateHost()));
  window.SetOnWndMsg(Recorder<Event::OnWndMsg>);
  EXPECT_EQ(window.Send(WM_APP), 42);
  EXPECT_TRUE(events.empty());  // "OnWndMsg" never saw it
  EXPECT_FALSE(Reached(WM_APP));
  window.Send(WM_APP + 1);
  EXPECT_EQ(events.size(), 1u);
  EXPECT_TRUE(Reached(WM_APP + 1));
  window.RemoveProperty("OnWndMsg");

  WindowObject layout;
  layout.GetBinding()->PutLevel(kTestLevel);
  events.clear();
  window.SetLayout(layout);
  EXPECT_EQ(layout.BindingRefCount(), 2);
  window.Move(0, 0, 200, 120);
  EXPECT_EQ(events, (std::vector<EventRecord>{{"layout", {kLayoutApplyMessage, 0, 0}},
                                              {"layout", {kLayoutSizeMessage, 200, 120}},
                                              {"layout", {kLayoutApplyMessage, 0, 0}}}));
  DestroyWindow(window.Handle());
  EXPECT_EQ(layout.BindingRefCount(), 1);
}

TEST_F(WindowTest, UnbindingRestoresTheProcedureAndForgetsTheWindow) {
  struct Row {
    const char* what;
    std::function<void(std::unique_ptr<WindowObject>&, HWND)> unbind;
    bool windowGone;
    bool destroyPassedOn;
    bool controlsReleased = true;
  } rows[] = {
      {"DetachHandle", [](auto& object, HWND) { object->DetachHandle(); }, false, false, false},
      {"last reference released", [](auto& object, HWND) { object.reset(); }, false, false},
      {"attached to another window", [this](auto& object, HWND) { object->AttachHandle(CreateHost()); }, false, false},
      {"window destroyed", [](auto&, HWND window) { DestroyWindow(window); }, true, true},
      {"window destroyed while OnWndMsg takes everything",
       [](auto& object, HWND window) {
         object->SetOnWndMsg(TakeEveryMessage);
         DestroyWindow(window);
       },
       true, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    HWND window = CreateHost();
    auto object = std::make_unique<WindowObject>();
    ASSERT_TRUE(object->AttachHandle(window));
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(WindowProcedure));
    bool childDestroyed = false;
    object->AdoptControl(std::make_unique<Probe>(childDestroyed));
    reached.clear();
    row.unbind(object, window);
    EXPECT_FALSE(WindowObject::IsBoundWindow(window));
    if (object) {
      EXPECT_NE(object->GetHandle(), window);
    }
    EXPECT_EQ(childDestroyed, row.controlsReleased);
    if (!row.windowGone) {
      EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(RecordingProcedure));
    }
    EXPECT_EQ(Reached(WM_NCDESTROY), row.destroyPassedOn);
  }
}
