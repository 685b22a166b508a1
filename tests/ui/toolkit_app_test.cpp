#include <windows.h>
#include <commctrl.h>

#include "resources/test_dialogs.h"
#include "ui/core/toolkit_instance.h"
#include "ui/dialogs/dialog_window.h"
#include "ui/dialogs/toolkit_app.h"
#include "ui/fonts/gdiplus_api.h"
#include "ui_test_support.h"

TEST(ToolkitApp, InitToolkitSetsTheInstanceStartsGdiplusAndHostsActiveXUnlessToldNot) {
  ASSERT_EQ(GetModuleHandleW(L"atl.dll"), nullptr);  // nothing else in this program loads it
  ToolkitApp app;
  auto other = reinterpret_cast<HINSTANCE>(GetModuleHandleW(L"user32.dll"));
  app.InitToolkit(other, 2, ICC_STANDARD_CLASSES);
  EXPECT_EQ(ToolkitInstance(), other);
  ULONG_PTR gdiplus = app.ReleaseGdiplus();  // the caller shuts GDI+ down from now on
  EXPECT_NE(gdiplus, 0u);
  Gdiplus::GdiplusShutdown(gdiplus);
  EXPECT_EQ(GetModuleHandleW(L"atl.dll"), nullptr);

  app.InitToolkit();
  EXPECT_EQ(ToolkitInstance(), GetModuleHandleW(nullptr));
  HMODULE atl = GetModuleHandleW(L"atl.dll");
  ASSERT_NE(atl, nullptr);
  WNDCLASSEXW host{};
  host.cbSize = sizeof host;
  EXPECT_TRUE(GetClassInfoExW(atl, L"AtlAxWin", &host));  // the hosting class its ordinal 42 registers
}

TEST_F(WindowTest, MessageLoopHandsTheDialogManagerOnlyTheKeysZyStyleAllows) {
  struct Row {
    UINT message;
    WPARAM key;
    INT_PTR style;
    bool toDialogManager;
  } rows[] = {
      {WM_KEYDOWN, VK_TAB, 0, false},    {WM_KEYDOWN, VK_TAB, 1, true},     {WM_KEYDOWN, VK_TAB, 6, false},
      {WM_KEYUP, VK_TAB, 1, true},       {WM_CHAR, VK_TAB, 7, false},       {WM_KEYDOWN, VK_RETURN, 0, false},
      {WM_KEYDOWN, VK_RETURN, 1, true},  {WM_KEYDOWN, VK_RETURN, 2, true},  {WM_KEYDOWN, VK_RETURN, 4, false},
      {WM_KEYDOWN, VK_LEFT, 4, true},    {WM_KEYDOWN, VK_DOWN, 1, true},    {WM_KEYDOWN, VK_UP, 2, false},
      {WM_KEYDOWN, VK_ESCAPE, 7, false}, {WM_KEYDOWN, 'A', 7, false},       {WM_SYSKEYDOWN, VK_RETURN, 7, false},
      {WM_LBUTTONDOWN, 0, 0, true},      {WM_MOUSEMOVE, 0, 0, true},        {WM_MOUSEWHEEL, 0, 7, false},
  };
  ToolkitApp app;
  DialogWindow dialog;
  dialog.SetOnWndMsg(RecordButtonClicks);
  ASSERT_NE(dialog.ShowModelessFromResource(std::nullopt, IDD_TEST_DIALOG), nullptr);
  WindowObject button, cancel;
  StoreButton(dialog, "CancelButton", cancel, IDC_CANCEL_BUTTON);
  ASSERT_TRUE(button.Attach(GetDlgItem(dialog.GetHandle(), IDC_DEFAULT_BUTTON)));
  button.SetOnKeyDown(Recorder<Event::OnKeyDown>);
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << std::hex << row.message << " " << row.key << " style " << row.style);
    MSG message{button.GetHandle(), row.message, row.key, 0, 0, {}};
    EXPECT_EQ(ReachesDialogManager(message, row.style), row.toDialogManager);
    if (row.message != WM_KEYDOWN) continue;
    // Through the loop: a key the dialog manager takes never reaches the
    // button; Esc reaches it and presses the cancel button too.
    events.clear();
    button.SetToolkitStyle(row.style);
    PostMessageW(button.GetHandle(), row.message, row.key, 0);
    PostQuitMessage(0);
    EXPECT_EQ(app.RunMessageLoop(), 0);
    std::vector<EventRecord> expected;
    if (row.key == VK_ESCAPE) expected.push_back({"clicked", {IDC_CANCEL_BUTTON}});
    if (!row.toDialogManager) expected.push_back({"OnKeyDown", {static_cast<INT_PTR>(row.key), 0}});
    EXPECT_EQ(events, expected);
  }

  // The window's accelerators come first: a key of the table becomes its
  // menu command.
  ACCEL accelerator{FVIRTKEY, 'A', 300};
  dialog.SetAcceleratorTable(CreateAcceleratorTableW(&accelerator, 1));
  dialog.SetOnMenuItemClick(Recorder<Event::OnMenuItemClick>);
  events.clear();
  PostMessageW(button.GetHandle(), WM_KEYDOWN, 'A', 0);
  PostQuitMessage(3);
  EXPECT_EQ(app.RunMessageLoop(), 3);
  EXPECT_EQ(events, (std::vector<EventRecord>{{"OnMenuItemClick", {300}}}));
  DestroyWindow(dialog.GetHandle());
}
