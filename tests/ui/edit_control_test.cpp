#include <algorithm>
#include <cmath>

#include "resources/test_dialogs.h"
#include "ui/controls/button_control.h"
#include "ui/controls/edit_control.h"
#include "ui/dialogs/dialog_window.h"
#include "ui/fonts/device_context.h"
#include "ui_test_support.h"

namespace {

// Presses or releases Shift for real, so GetAsyncKeyState sees it.
void PressShift(bool down) { keybd_event(VK_SHIFT, 0, down ? 0 : KEYEVENTF_KEYUP, 0); }

RECT ClientInWindow(HWND window) {
  RECT outer, client;
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -outer.left, -outer.top);
  return client;
}

}  // namespace

TEST_F(ControlTest, EnterAndTabLeaveAnEditUnlessItWantsThem) {
  constexpr DWORD kWantsReturn = ES_MULTILINE | ES_WANTRETURN;
  struct Row {
    const char* what;
    DWORD style;
    INT_PTR toolkitStyle;
    WPARAM key;
    bool shift;
    bool idOk;
    int focusedId;  // the edits are 11, 12 (the row's) and 13 in tab order
  } rows[] = {
      {"Enter", 0, 0, VK_RETURN, false, true, 12},
      {"Enter wanted", kWantsReturn, 0, VK_RETURN, false, false, 12},
      {"Enter kept by zyStyle", 0, ToolkitStyle::kDialogEnter, VK_RETURN, false, false, 12},
      {"Tab", 0, 0, VK_TAB, false, false, 13},
      {"Shift+Tab", 0, 0, VK_TAB, true, false, 11},
      {"Tab wanted", kWantsReturn, 0, VK_TAB, false, false, 12},
      {"Tab kept by zyStyle", 0, ToolkitStyle::kDialogTab, VK_TAB, false, false, 12},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EditControl before, edit, after;
    ASSERT_TRUE(before.CreateEdit(dialog, L"", {.id = 11}));
    ASSERT_TRUE(edit.CreateEdit(dialog, L"", {.id = 12, .style = WS_TABSTOP | row.style}));
    ASSERT_TRUE(after.CreateEdit(dialog, L"", {.id = 13}));
    if (row.toolkitStyle) edit.SetToolkitStyle(row.toolkitStyle);
    edit.Focus();
    ASSERT_TRUE(edit.HasFocus());
    reached.clear();
    PressShift(row.shift);
    edit.Send(WM_KEYDOWN, row.key);
    PressShift(false);
    EXPECT_EQ(ReachedCommand(IDOK), row.idOk);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), row.focusedId);
    for (EditControl* control : {&before, &edit, &after}) DestroyWindow(control->Handle());
  }
}

TEST_F(ControlTest, VerticalCentringLeavesOneTextLineInTheMiddleOfTheWindow) {
  EditControl before, edit;
  ASSERT_TRUE(before.CreateEdit(dialog));
  ASSERT_TRUE(edit.CreateEdit(dialog, L"ky", {.x = 10, .y = 30, .width = 120, .height = 40}));
  RECT plain = ClientInWindow(edit.Handle());
  int frame = plain.left;  // the client edge, the same on every side
  ASSERT_EQ(plain.top, frame);
  int line;
  {
    WindowDC dc(edit.Handle());
    SelectObject(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    RECT measured{};
    DrawTextW(dc.get(), L"ky", 2, &measured, DT_CALCRECT);
    line = measured.bottom - measured.top;
  }
  EXPECT_TRUE(edit.SetVerticalCenter(true));
  EXPECT_EQ(GetWindow(edit.Handle(), GW_HWNDPREV), before.Handle());  // tab order kept

  struct Row {
    int height;
    int inset;
  } rows[] = {
      {40, static_cast<int>(std::lround((40 - line) / 2.0))},  // 12 for a 16-pixel line
      {61, static_cast<int>(std::lround((61 - line) / 2.0))},  // resized: measured at the new height
      {line - 2, frame},                                       // the line does not fit: the frame stays
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.height);
    edit.Move(10, 30, 120, row.height);
    RECT client = ClientInWindow(edit.Handle());
    EXPECT_EQ(client.top, row.inset);
    EXPECT_EQ(row.height - client.bottom, row.inset);
    EXPECT_EQ(client.left, frame);
    RECT top{frame, frame, 120 - frame, row.inset}, bottom{frame, row.height - row.inset, 120 - frame, row.height - frame};
    EXPECT_TRUE(EqualRect(reinterpret_cast<RECT*>(edit.GetProperty("rectNCTop")), &top));
    EXPECT_TRUE(EqualRect(reinterpret_cast<RECT*>(edit.GetProperty("rectNCBottom")), &bottom));
  }
  DestroyWindow(edit.Handle());
  EXPECT_FALSE(edit.HasProperty("rectNCTop"));
  EXPECT_FALSE(edit.HasProperty("rectNCBottom"));
}

TEST_F(ControlTest, EditTextReadsAnEmptyBoxAsAnEmptyTextAndChangesAreReported) {
  EditControl edit, unbound;
  ASSERT_TRUE(edit.CreateEdit(dialog, L"", {.id = 31, .style = ES_MULTILINE}));
  edit.SetOnTextChange(RecordControlEvent<Event::OnTextChange>);
  edit.GetBinding()->SetEvent(Event::OnClick, RecordControlEvent<Event::OnClick>);
  for (EditControl* empty : {&edit, &unbound}) {
    Text text = empty->EditText();
    EXPECT_FALSE(text.IsNull());
    EXPECT_STREQ(text.c_str(), "");
  }
  EXPECT_TRUE(edit.EditText("中文\r\nab").IsNull());
  EXPECT_STREQ(edit.EditText().get(), "中文\r\nab");
  EXPECT_EQ(edit.EditTextW(), L"中文\r\nab");
  EXPECT_STREQ(edit.LineText(1).get(), "ab");
  EXPECT_EQ(edit.LineLength(5), 0);
  EXPECT_TRUE(edit.LineText(5).IsNull());

  edit.Send(WM_CHAR, 'x');  // (setting the text of a multi-line edit reports no change)
  EXPECT_EQ(events, (std::vector<EventRecord>{{"OnTextChange", {AsInteger(edit.Handle()), 31}}}));  // not as a click
}

TEST_F(WindowTest, EnterInAnEditPressesTheDialogsDefaultButtonOnce) {
  DialogWindow window;
  ASSERT_NE(window.ShowModelessFromResource(nullptr, IDD_TEST_DIALOG), nullptr);
  WindowObject host;  // the dialog's plain window object, as the program keeps it
  ASSERT_TRUE(host.Attach(window.GetHandle()));
  EditControl edit;
  ButtonControl button;
  ASSERT_TRUE(edit.AttachById(host, IDC_TEST_EDIT));
  ASSERT_TRUE(button.AttachById(host, IDC_DEFAULT_BUTTON));
  button.SetOnClick(RecordControlEvent<Event::OnClick>);
  button.SetDefaultButton(true);
  edit.Send(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(events, (std::vector<EventRecord>{{"OnClick", {AsInteger(button.Handle()), IDC_DEFAULT_BUTTON}}}));
  DestroyWindow(window.GetHandle());
  EXPECT_EQ(button.BindingRefCount(), 1);  // the dialog gave its reference back
}
