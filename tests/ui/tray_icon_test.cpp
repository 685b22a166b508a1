#include <string>

#include "ui/dialogs/top_window.h"
#include "ui/icons/icon_object.h"
#include "ui/tray/tray_icon.h"
#include "ui_test_support.h"

namespace {

const NOTIFYICONDATAW& RecordOf(const TopWindow& window) {
  return *window.GetBinding()->GetHandle<NOTIFYICONDATAW*>("NotifyiconData");
}

}  // namespace

TEST_F(WindowTest, TrayIconCallsReturnWhatTheShellAnswersAndCutTheirTexts) {
  TopWindow window;
  ASSERT_TRUE(window.Attach(CreateHost()));
  IconObject icon = ApplicationIcon(), empty;
  EXPECT_FALSE(window.SetTrayTip(L"no icon yet"));
  EXPECT_FALSE(window.ShowTrayBalloon(L"no icon yet", L""));

  std::string longTip(200, 'a');
  ASSERT_TRUE(window.AddTrayIcon(icon, (longTip + "尾").c_str()));
  EXPECT_EQ(RecordOf(window).uCallbackMessage, kTrayCallbackMessage);
  EXPECT_EQ(std::wstring(RecordOf(window).szTip), std::wstring(127, L'a'));
  EXPECT_TRUE(window.SetTrayTip(L"提示"));
  EXPECT_STREQ(RecordOf(window).szTip, L"提示");
  HICON firstCopy = RecordOf(window).hIcon;
  EXPECT_TRUE(window.SetTrayIcon(icon));
  EXPECT_FALSE(IconAlive(firstCopy));
  EXPECT_TRUE(window.ShowTrayBalloon(std::wstring(300, L'b').c_str(), std::wstring(70, L'c').c_str()));
  EXPECT_EQ(std::wstring(RecordOf(window).szInfo), std::wstring(255, L'b'));
  EXPECT_EQ(std::wstring(RecordOf(window).szInfoTitle), std::wstring(63, L'c'));
  EXPECT_EQ(RecordOf(window).uTimeout, 10000u);
  EXPECT_EQ(RecordOf(window).dwInfoFlags, DWORD{NIIF_INFO});
  EXPECT_TRUE(window.RemoveTrayIcon());
  EXPECT_FALSE(window.RemoveTrayIcon());
  EXPECT_FALSE(window.AddTrayIcon(empty));  // removes instead, and nothing is shown
  EXPECT_TRUE(window.AddTrayIcon(icon, "again"));
  EXPECT_TRUE(window.AddTrayIcon(icon, "replacing the shown icon"));

  HICON shown = RecordOf(window).hIcon;
  DestroyWindow(window.GetHandle());  // the icon goes with its window
  EXPECT_FALSE(IconAlive(shown));
  EXPECT_FALSE(window.GetBinding()->Has("NotifyiconData"));
}

TEST_F(WindowTest, ShellNotificationsReachOnNotifIconAndARestartedShellGetsTheIconBack) {
  TopWindow window;
  HWND host = CreateHost();
  ASSERT_TRUE(window.Attach(host));
  window.SetOnNotifIcon(Recorder<Event::OnNotifIcon>);
  IconObject icon = ApplicationIcon();
  ASSERT_TRUE(window.AddTrayIcon(icon, L"tip"));

  // A left click: the press captures the mouse, the release is code 1.
  struct Row {
    UINT notification;
    std::vector<EventRecord> events;
    HWND captured;
  } rows[] = {
      {WM_LBUTTONDOWN, {}, host},
      {WM_LBUTTONUP, {{"OnNotifIcon", {1}}}, nullptr},
      {WM_RBUTTONDOWN, {}, host},
      {WM_RBUTTONUP, {{"OnNotifIcon", {2}}}, nullptr},
      {WM_LBUTTONDBLCLK, {{"OnNotifIcon", {3}}}, nullptr},
      {WM_RBUTTONDBLCLK, {{"OnNotifIcon", {4}}}, nullptr},
      {WM_MOUSEMOVE, {{"OnNotifIcon", {5}}}, nullptr},
      {NIN_BALLOONSHOW, {{"OnNotifIcon", {6}}}, nullptr},
      {NIN_BALLOONTIMEOUT, {{"OnNotifIcon", {7}}}, nullptr},
      {NIN_BALLOONUSERCLICK, {{"OnNotifIcon", {8}}}, nullptr},
      {NIN_BALLOONHIDE, {}, nullptr},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.notification);
    events.clear();
    SendMessageW(host, kTrayCallbackMessage, 1, row.notification);
    EXPECT_EQ(events, row.events);
    EXPECT_EQ(GetCapture(), row.captured);
  }

  // The shell forgot the icon; its "TaskbarCreated" brings it back.
  ASSERT_TRUE(window.RemoveTrayIcon());
  EXPECT_FALSE(window.SetTrayTip(L"gone"));
  SendMessageW(host, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(window.SetTrayTip(L"back"));
  EXPECT_TRUE(window.RemoveTrayIcon());
}
