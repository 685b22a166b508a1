// The window-driving support against a real message box of another process.
#include <gtest/gtest.h>

#include "support/linux_process.h"
#include "support/window_driver.h"
#include "support/windows_process.h"

TEST(WindowDriver, ReadsAndAnswersAMessageBoxOfAnotherProcess) {
  RunningProgram program("\"" + WindowsPathOf(SHOW_MESSAGE_PROGRAM_EXE) + "\" 0x40041");  // OK and Cancel
  ASSERT_TRUE(program.started());
  std::optional<MessageBoxView> box = WaitForMessageBox(program.processId());
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"提示");
  EXPECT_EQ(box->text, L"直链获取成功!\r\n已将直链复制到剪贴板");
  EXPECT_EQ(TopLevelWindows(program.processId()).front(), box->window);
  EXPECT_TRUE(SetWindowTextTo(box->window, L"改过的标题"));  // text set across processes
  EXPECT_EQ(WindowText(box->window), L"改过的标题");
  EXPECT_TRUE(PressMessageBoxButton(*box, IDCANCEL));
  EXPECT_EQ(program.WaitForExit(kWindowWaitMs), 1u);  // Cancel is button 1
}

TEST(WindowDriver, ClipboardTextRoundTrip) {
  ASSERT_TRUE(WriteClipboardText(L"直链 https://127.0.0.1/a"));
  EXPECT_EQ(ReadClipboardText(), L"直链 https://127.0.0.1/a");
}
