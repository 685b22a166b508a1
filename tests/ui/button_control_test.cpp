#include <memory>

#include "ui/controls/button_control.h"
#include "ui/controls/edit_control.h"
#include "ui/fonts/device_context.h"
#include "ui_test_support.h"

// A second object attached to the button shares its binding, so a handler
// set through either is the button's.
TEST_F(ControlTest, AClickOrEnterOnABoundButtonCallsOnClickOnceInsteadOfTheDialog) {
  HWND item = CreateChild(dialog.Handle(), L"Button", L"Get", 1003, WS_TABSTOP);
  ButtonControl button;
  ASSERT_TRUE(button.AttachById(dialog, 1003));
  auto second = std::make_unique<WindowObject>();
  ASSERT_TRUE(second->Attach(item));
  EXPECT_EQ(button.BindingRefCount(), 2);
  struct Row {
    const char* what;
    UINT message;
    WPARAM wParam;
    WindowObject* handlerSetOn;
  } rows[] = {{"click", BM_CLICK, 0, &button},
              {"Enter", WM_KEYDOWN, VK_RETURN, &button},
              {"click, OnClick set through the second object", BM_CLICK, 0, second.get()},
              {"no OnClick", BM_CLICK, 0, nullptr}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    button.SetOnClick(nullptr);
    if (row.handlerSetOn) row.handlerSetOn->GetBinding()->SetEvent(Event::OnClick, RecordControlEvent<Event::OnClick>);
    events.clear();
    reached.clear();
    SendMessageW(item, row.message, row.wParam, 0);
    EXPECT_EQ(events, (row.handlerSetOn ? Events{{"OnClick", {AsInteger(item), 1003}}} : Events{}));
    EXPECT_EQ(Reached(WM_COMMAND), !row.handlerSetOn);  // a handled click goes no further
  }
  second.reset();
  EXPECT_EQ(button.BindingRefCount(), 1);
  EXPECT_TRUE(WindowObject::IsBoundWindow(item));
}

namespace {
constexpr COLORREF kRed = RGB(200, 0, 0), kBlue = RGB(0, 0, 160), kUnanswered = RGB(1, 1, 1);
}

TEST_F(ControlTest, ColourMessagesGetTheControlsColoursOnceItHasABrush) {
  ButtonControl button;
  EditControl edit;
  ASSERT_TRUE(button.CreateButton(dialog));
  ASSERT_TRUE(edit.CreateEdit(dialog));
  struct Row {
    const char* what;
    ControlWindow& control;
    UINT message;
    void (*set)(ControlWindow&);
    COLORREF text, back;  // kTransparentColor: TRANSPARENT mode and the null brush
  } rows[] = {
      {"button as constructed", button, WM_CTLCOLORBTN, [](ControlWindow&) {}, 0, kUnanswered},
      {"transparent", button, WM_CTLCOLORBTN, [](ControlWindow& c) { c.SetBackColor(kTransparentColor); }, 0,
       kTransparentColor},
      {"edit as created", edit, WM_CTLCOLOREDIT, [](ControlWindow&) {}, 0, RGB(255, 255, 255)},
      {"coloured", edit, WM_CTLCOLOREDIT, [](ControlWindow& c) { c.SetBackColor(kBlue), c.SetForeColor(kRed); }, kRed,
       kBlue},
      {"reset, then a text colour", edit, WM_CTLCOLOREDIT, [](ControlWindow& c) { c.ResetColors(), c.SetForeColor(kRed); },
       kRed, GetSysColor(COLOR_BTNFACE)},
  };
  WindowDC dc(dialog.Handle());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    row.set(row.control);
    SetBkMode(dc.get(), OPAQUE);
    SetBkColor(dc.get(), kUnanswered);
    SetTextColor(dc.get(), kUnanswered);
    reached.clear();
    auto brush = reinterpret_cast<HBRUSH>(dialog.Send(row.message, AsInteger(dc.get()), AsInteger(row.control.Handle())));
    EXPECT_EQ(GetTextColor(dc.get()), row.text);
    EXPECT_EQ(Reached(row.message), row.back == kUnanswered);  // went on to the dialog's default
    LOGBRUSH made{};
    GetObjectW(brush, sizeof made, &made);
    if (row.back == kTransparentColor) {
      EXPECT_EQ(GetBkMode(dc.get()), TRANSPARENT);
      EXPECT_EQ(brush, GetStockObject(NULL_BRUSH));
    } else if (row.back != kUnanswered) {
      EXPECT_EQ(GetBkColor(dc.get()), row.back);
      EXPECT_EQ(made.lbColor, row.back);
    }
  }
}

TEST_F(ControlTest, CreationTakesAutomaticIdsAndBindsAVisibleChildWithTheGuiFont) {
  ButtonControl first, second;
  ASSERT_TRUE(first.CreateButton(dialog));
  ASSERT_TRUE(second.CreateButton(dialog, "第二", {.y = 50}));
  EXPECT_FALSE(first.CreateButton(dialog));  // bound already
  // -1 and -2 when these are the first automatic ids of the process.
  EXPECT_LT(first.GetControlId(), 0);
  EXPECT_EQ(second.GetControlId(), first.GetControlId() - 1);
  EXPECT_EQ(first.CaptionW(), L"按钮");
  EXPECT_STREQ(second.Caption().get(), "第二");
  DWORD visibleChild = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP;
  EXPECT_EQ(first.Style() & visibleChild, visibleChild);
  EXPECT_EQ(first.Send(WM_GETFONT), reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));

  EditControl edit, wantsReturn;
  ASSERT_TRUE(edit.CreateEdit(dialog));
  ASSERT_TRUE(wantsReturn.CreateEdit(dialog, L"", {.style = ES_MULTILINE | ES_WANTRETURN}));
  EXPECT_TRUE(edit.ExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_EQ(edit.ToolkitStyle(), 0);
  EXPECT_EQ(wantsReturn.ToolkitStyle(), ToolkitStyle::kDialogEnter);

  ControlWindow client;
  ASSERT_TRUE(client.CreateMdiClient(dialog));
  EXPECT_EQ(client.ClassNameW(), L"zyMDIClient");
  EXPECT_EQ(dialog.GetProperty("hWndMDIClient"), AsInteger(client.Handle()));
}

TEST_F(ControlTest, TheTopLevelWindowHoldsItsDefaultAndCancelButtons) {
  struct Row {
    const char* key;
    bool (ButtonControl::*set)(std::optional<bool>);
    bool styled;
  } rows[] = {{"DefaultButton", &ButtonControl::SetDefaultButton, true},
              {"CancelButton", &ButtonControl::SetCancelButton, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.key);
    ButtonControl button;
    ASSERT_TRUE(button.CreateButton(dialog));
    EXPECT_FALSE((button.*row.set)(true));
    EXPECT_TRUE((button.*row.set)(true));  // set again: still one reference
    EXPECT_EQ(dialog.GetProperty(row.key), AsInteger(button.GetBinding()));
    EXPECT_EQ(button.BindingRefCount(), 2);
    EXPECT_EQ((button.Style() & BS_DEFPUSHBUTTON) != 0, row.styled);
    EXPECT_TRUE((button.*row.set)(false));
    EXPECT_EQ(dialog.GetProperty(row.key), 0);
    EXPECT_EQ(button.BindingRefCount(), 1);
    EXPECT_FALSE(button.Style() & BS_DEFPUSHBUTTON);
  }
}

TEST_F(ControlTest, AButtonShowsItsOwnCopyOfAnIconUntilItsWindowGoes) {
  ButtonControl button;
  ASSERT_TRUE(button.CreateButton(dialog));
  IconObject icon = ApplicationIcon();
  button.SetButtonIcon(icon);
  auto shown = reinterpret_cast<HICON>(button.Send(BM_GETIMAGE, IMAGE_ICON));
  EXPECT_TRUE(button.Style() & BS_ICON);
  EXPECT_NE(shown, icon.Native());
  IconObject copy = button.GetButtonIcon();
  EXPECT_NE(copy.Native(), shown);
  DestroyWindow(button.Handle());
  EXPECT_FALSE(IconAlive(shown));
  EXPECT_TRUE(IconAlive(copy.Native()));
}
