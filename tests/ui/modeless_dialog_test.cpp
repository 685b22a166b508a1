#include "resources/test_dialogs.h"
#include "ui/dialogs/dialog_window.h"
#include "ui/icons/icon_object.h"
#include "ui_test_support.h"

namespace {

enum class Place { AsLaidOut, ScreenCentre, OwnerCentre };

POINT Centred(const RECT& area, const RECT& window) {
  return {area.left + (area.right - area.left - (window.right - window.left)) / 2,
          area.top + (area.bottom - area.top - (window.bottom - window.top)) / 2};
}

}  // namespace

TEST_F(WindowTest, InMemoryTemplatesTakeTheirFrameFromBorderAndTheirPlaceFromStartPosition) {
  constexpr DWORD kFrame = WS_POPUP | WS_CAPTION | WS_THICKFRAME;
  struct Row {
    const char* name;
    bool textForm;
    std::optional<int> border;
    std::optional<INT_PTR> start;  // the dialog's own 2 when not given
    bool visibleOwner;
    DWORD frame, exFrame;
    Place place;
  } rows[] = {
      {"no border, placed as laid out", false, std::nullopt, 0, false, WS_POPUP | WS_CAPTION, 0, Place::AsLaidOut},
      {"text form, sizable tool frame, screen centre", true, 3, 1, true, WS_CAPTION | WS_THICKFRAME, WS_EX_TOOLWINDOW,
       Place::ScreenCentre},
      {"popup frame, over a visible owner", false, 0, std::nullopt, true, WS_POPUP, 0, Place::OwnerCentre},
      {"over no owner: screen centre", false, 2, 2, false, WS_CAPTION, 0, Place::ScreenCentre},
  };
  const DialogLayout layout{.x = 10, .y = 20, .width = 100, .height = 50};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    HWND owner = row.visibleOwner ? CreateHost(WS_POPUP | WS_VISIBLE) : nullptr;
    DialogWindow dialog;
    if (row.border) dialog.SetBorder(*row.border);
    if (row.start) dialog.StartPosition(*row.start);
    HWND made = row.textForm ? dialog.ShowModelessFromTemplate(layout, "标题", "UiTestDialogClass", owner)
                             : dialog.ShowModelessFromTemplate(layout, L"标题", nullptr, owner);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(dialog.GetHandle(), made);
    EXPECT_EQ(dialog.GetTextW(), L"标题");
    EXPECT_EQ(dialog.ClassNameW(), row.textForm ? L"UiTestDialogClass" : L"#32770");
    EXPECT_EQ(dialog.Style() & kFrame, row.frame);
    EXPECT_EQ(dialog.ExStyle() & WS_EX_TOOLWINDOW, row.exFrame);

    // As laid out, the template places the client area.
    RECT placed = dialog.ScreenRect(), ownerRect{};
    GetWindowRect(owner, &ownerRect);
    POINT at{placed.left, placed.top}, expected = Centred(ownerRect, placed);
    if (row.place == Place::ScreenCentre)
      expected = Centred({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}, placed);
    if (row.place == Place::AsLaidOut) {
      at = {0, 0};
      ClientToScreen(made, &at);
      expected = dialog.DialogToPixels(layout.x, layout.y);
    }
    EXPECT_EQ(at.x, expected.x);
    EXPECT_EQ(at.y, expected.y);

    EXPECT_EQ(dialog.ShowModelessFromTemplate(layout, L"again"), nullptr);  // bound already
    DestroyWindow(made);
    EXPECT_EQ(dialog.GetHandle(), nullptr);
  }
}

// Closing ends the dialog once, however Esc is set up: the close is not
// handed back to the dialog as a further Esc.
TEST_F(WindowTest, ClosingAModelessDialogWithEscCloseHidesItOnce) {
  DialogWindow dialog;
  dialog.EscClose(true);
  dialog.SetOnClose(Recorder<Event::OnClose>);
  dialog.SetOnWndMsg(RecordButtonClicks);
  HWND made = dialog.ShowModelessFromResource(std::nullopt, IDD_TEST_DIALOG, "");
  ASSERT_NE(made, nullptr);
  ShowWindow(made, SW_SHOWNA);
  WindowObject cancel;
  StoreButton(dialog, "CancelButton", cancel, IDC_CANCEL_BUTTON);
  PostMessageW(made, WM_CLOSE, 0, 0);
  ULONGLONG settled = GetTickCount64() + 300;
  PumpUntil([&] { return GetTickCount64() > settled; });
  EXPECT_EQ(events, (std::vector<EventRecord>{{"OnClose", {}}}));
  EXPECT_FALSE(IsWindowVisible(made));
  DestroyWindow(made);
}

TEST_F(WindowTest, SetIconShowsTheWindowsOwnCopyUntilTheNextOrTheWindowsEnd) {
  DialogWindow dialog;
  HWND made = dialog.ShowModelessFromResource(std::nullopt, IDD_TEST_DIALOG);
  ASSERT_NE(made, nullptr);
  IconObject icon = ApplicationIcon(), empty;
  auto shown = [&](WPARAM which) { return reinterpret_cast<HICON>(SendMessageW(made, WM_GETICON, which, 0)); };

  dialog.SetIcon(icon);
  HICON first = shown(ICON_SMALL);
  EXPECT_NE(first, nullptr);
  EXPECT_NE(first, icon.Native());
  dialog.SetIcon(icon, true);
  HICON big = shown(ICON_BIG);
  dialog.SetIcon(icon);
  EXPECT_FALSE(IconAlive(first));
  HICON second = shown(ICON_SMALL);
  dialog.SetIcon(empty);  // an icon object without an icon clears the small icon
  EXPECT_EQ(shown(ICON_SMALL), nullptr);
  EXPECT_FALSE(IconAlive(second));
  EXPECT_TRUE(IconAlive(big));
  DestroyWindow(made);
  EXPECT_FALSE(IconAlive(big));
  EXPECT_TRUE(IconAlive(icon.Native()));
}

// Pixels map back to the dialog units they came from, by the dialog's own
// font when there is a dialog.
TEST_F(WindowTest, DialogUnitsRoundTripAndItemTextsCrossAsGbk) {
  DialogWindow dialog;
  POINT screen = dialog.DialogToPixels(100, 40);
  EXPECT_EQ(dialog.PixelsToDialog(screen.x, screen.y).x, 100);
  ASSERT_NE(dialog.ShowModelessFromResource(std::nullopt, IDD_TEST_DIALOG), nullptr);
  POINT own = dialog.DialogToPixels(100, 40);
  POINT back = dialog.PixelsToDialog(own.x, own.y);
  EXPECT_EQ(back.x, 100);
  EXPECT_EQ(back.y, 40);

  EXPECT_TRUE(dialog.SetItemText(IDC_TEST_EDIT, "直链"));
  EXPECT_EQ(dialog.GetItemTextW(IDC_TEST_EDIT), L"直链");
  EXPECT_STREQ(dialog.GetItemText(IDC_TEST_EDIT).c_str(), "直链");
  DestroyWindow(dialog.GetHandle());
}

// A busy window shows the wait cursor over its client area and every child,
// which asks its parent first; otherwise each child keeps its own cursor.
TEST_F(WindowTest, WaitCursorCoversTheWindowAndItsChildren) {
  DialogWindow dialog;
  HWND made = dialog.ShowModelessFromResource(std::nullopt, IDD_TEST_DIALOG, "");
  ASSERT_NE(made, nullptr);
  HWND child = GetDlgItem(made, IDC_CANCEL_BUTTON);
  const HCURSOR wait = LoadCursorW(nullptr, MAKEINTRESOURCEW(32514));  // IDC_WAIT
  for (const bool busy : {true, false}) {
    SCOPED_TRACE(busy ? "busy" : "not busy");
    dialog.SetWaitCursor(busy);
    for (HWND over : {made, child}) {
      SetCursor(nullptr);
      SendMessageW(over, WM_SETCURSOR, reinterpret_cast<WPARAM>(over), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      EXPECT_EQ(GetCursor() == wait, busy);
    }
  }
  DestroyWindow(made);
}
