#include "resources/test_dialogs.h"
#include "ui/dialogs/dialog_window.h"
#include "ui/icons/icon_object.h"
#include "ui_test_support.h"

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
