// The window program end to end: started as its own process, driven as a
// person would (typing into the edits, clicking the buttons, reading and
// closing every box, reading the clipboard), against the double.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <span>
#include <utility>
#include <vector>

#include "app/app_icon.h"
#include "runtime/bytes.h"
#include "runtime/codepage.h"
#include "runtime/online_check.h"
#include "ui/icons/icon_object.h"
#include "support/double_test.h"
#include "support/linux_process.h"
#include "support/network.h"
#include "support/record_server.h"
#include "support/window_driver.h"
#include "support/windows_process.h"

namespace {

constexpr int kPasswordEdit = 1001, kGetLink = 1003, kCopy = 1004;
constexpr wchar_t kTitle[] = L"Zorvo云直链获取 V1.0 by Quenlit";
constexpr wchar_t kMark[] = L"剪贴板上原有的文字";  // what the user had on the clipboard

struct Box {
  std::wstring text, title;
  std::string style;  // as the test build logs it; empty for the shipped program
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& box) {
  return out << WideToGbk(box.text) << " | " << WideToGbk(box.title) << " | " << box.style;
}

const Box kNotConnected{L"当前未连接互联网,请检查网络连接", L"错误", "0x40010"};
const Box kNoLink{L"必须键入Zorvo外链", L"错误", "0x40010"};
const Box kObtained{L"直链获取成功!\r\n已将直链复制到剪贴板", L"提示", "0x40040"};
const Box kFailed{L"直链获取失败", L"提示", "0x40010"};
const Box kCopied{L"已将直链复制到剪贴板", L"提示", "0x40040"};
const Box kNothingToCopy{L"没有可复制的直链", L"提示", "0x40010"};
const Box kObtainedNotCopied{L"直链获取成功!\r\n复制到剪贴板失败,请手动复制", L"提示", "0x40040"};
const Box kCopyFailed{L"复制到剪贴板失败", L"提示", "0x40010"};

// One run of a window program and its main window's controls.
class WindowProgram {
 public:
  // The test build logs box styles; the shipped program gets no arguments.
  explicit WindowProgram(const std::string& exe, const std::string& arguments = "", bool logBoxes = true)
      : boxLog_(logBoxes ? ScratchPath("boxes-" + std::to_string(++runs_) + ".log") : ""),
        program_("\"" + WindowsPathOf(exe) + "\"" + (logBoxes ? " --box-log \"" + WindowsPathOf(boxLog_) + "\"" : "") +
                 " " + arguments) {
    main = WaitForWindow(program_.processId(), [](HWND w) { return WindowText(w) == kTitle; });
    // The edits made in code, each the topmost child at a point inside it.
    linkEdit = ChildWindowFromPointEx(main, {30, 33}, CWP_SKIPINVISIBLE);
    resultEdit = ChildWindowFromPointEx(main, {30, 141}, CWP_SKIPINVISIBLE);
  }
  // The window is up, and each code-made edit lies at its place above its group box.
  bool ready() const { return main && ClassName(linkEdit) == L"Edit" && ClassName(resultEdit) == L"Edit"; }

  // The next box the program shows besides `shown` (one already up), left
  // open, and what it says.
  std::optional<std::pair<MessageBoxView, Box>> WaitForBox(HWND shown = nullptr, unsigned timeoutMs = kWindowWaitMs) {
    std::optional<MessageBoxView> view = WaitForMessageBox(program_.processId(), shown, timeoutMs);
    if (!view) return std::nullopt;
    return std::pair(*view, Box{view->text, view->title, NextLoggedStyle()});
  }
  // Clicks the button, reads the box it brings up and closes it.
  std::optional<Box> Click(int button) {
    std::optional<std::pair<MessageBoxView, Box>> box;
    if (!ClickButton(main, button) || !(box = WaitForBox()) || !PressMessageBoxButton(box->first, IDOK)) {
      return std::nullopt;
    }
    return box->second;
  }
  std::optional<DWORD> Close(unsigned timeoutMs = kWindowWaitMs) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    return program_.WaitForExit(timeoutMs);
  }
  // Whether the window answers a message within the time.
  bool Answers(unsigned timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &result) != 0;
  }
  DWORD processId() const { return program_.processId(); }

  HWND main = nullptr, linkEdit = nullptr, resultEdit = nullptr;

 private:
  std::string NextLoggedStyle() {
    if (boxLog_.empty()) return "";
    std::ifstream log(WindowsPathOf(boxLog_));
    std::string line;
    for (size_t i = 0; i <= boxesSeen_ && std::getline(log, line); ++i) {
    }
    ++boxesSeen_;
    return line;
  }

  static inline int runs_ = 0;
  std::string boxLog_;
  size_t boxesSeen_ = 0;
  RunningProgram program_;
};

// A 32-bit picture of `width` x `height` pixels, drawn by `draw` on a DC.
std::vector<DWORD> Picture(int width, int height, const std::function<void(HDC)>& draw) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  draw(dc);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
  SelectObject(dc, previous);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

// Whether the caption shows the program's icon, as the caption draws it
// (small-icon size). Wine answers WM_GETICON from another process with no
// icon, so the caption is looked at on the screen: somewhere near its left
// end, every opaque pixel of the icon must be there.
bool CaptionShowsTheIcon(HWND window) {
  IconObject icon;
  icon.LoadIconFromBytes(std::span(Bytes::DataOf(AppIconFile), Bytes::SizeOf(AppIconFile)));
  const int size = GetSystemMetrics(SM_CXSMICON);
  auto drawn = [&](int background) {
    return Picture(size, size, [&](HDC dc) {
      PatBlt(dc, 0, 0, size, size, background);
      DrawIconEx(dc, 0, 0, icon.Native(), size, size, 0, nullptr, DI_NORMAL);
    });
  };
  const std::vector<DWORD> overBlack = drawn(BLACKNESS), overWhite = drawn(WHITENESS);
  RECT rect;
  GetWindowRect(window, &rect);
  const int width = 3 * size, height = GetSystemMetrics(SM_CYCAPTION) + 2 * size;
  const std::vector<DWORD> caption = Picture(width, height, [&](HDC dc) {
    HDC screen = GetDC(nullptr);
    BitBlt(dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
  });
  for (int top = 0; top + size <= height; ++top) {
    for (int left = 0; left + size <= width; ++left) {
      bool match = true;
      for (int i = 0; i < size * size && match; ++i) {
        const DWORD shown = caption[(top + i / size) * width + left + i % size];
        match = overBlack[i] != overWhite[i] || (shown & 0xFFFFFF) == (overBlack[i] & 0xFFFFFF);
      }
      if (match) return true;
    }
  }
  return false;
}

class MainWindow : public DoubleTest {
 protected:
  static std::string TestBuild(const std::string& onlineCheckUrl) {
    return "--online-check-url " + onlineCheckUrl + " --base-site " + Double().BaseSite();
  }
  static std::wstring Url(const char* id) { return GbkToWide(Double().Share(id)->url); }
  static std::wstring Link(const char* id) { return GbkToWide(Double().Share(id)->link); }
};

// One person's session at the window, step by step; every row's box, result
// edit and clipboard are checked. The clipboard holds the test's mark before
// each step, so "untouched" is seen.
TEST_F(MainWindow, CommandsEndToEnd) {
  WindowProgram window(ZORVO_LINK_TEST_EXE,
                       TestBuild("http://127.0.0.1:" + std::to_string(Double().httpPort()) + "/"));
  ASSERT_TRUE(window.ready());
  struct Step {
    const char* what;
    int button;
    std::optional<std::wstring> link, password;  // typed first; nothing: left as it is
    Box box;
    std::wstring result;                    // resultEdit afterwards
    std::optional<std::wstring> clipboard;  // nothing: untouched
    bool clipboardHeld = false;             // another program keeps the clipboard open
    std::optional<std::wstring> typedResult{};  // typed into resultEdit first
  };
  const Step steps[] = {
      {"copy before any resolution", kCopy, {}, {}, kNothingToCopy, L"", {}},
      {"empty link", kGetLink, L"", L"", kNoLink, L"", {}},
      {"framed share", kGetLink, Url("framed"), {}, kObtained, Link("framed"), Link("framed")},
      {"framed share with password", kGetLink, Url("framed-pw"), L"8k2p", kObtained, Link("framed-pw"),
       Link("framed-pw")},
      // Sent, the deleted password would be refused by the double.
      {"password deleted before the click", kGetLink, Url("framed"), L"", kObtained, Link("framed"), Link("framed")},
      {"inline share", kGetLink, Url("inline"), {}, kObtained, Link("inline"), Link("inline")},
      {"inline share with password", kGetLink, Url("inline-pw"), L"x7q1", kObtained, Link("inline-pw"),
       Link("inline-pw")},
      {"copy again", kCopy, {}, {}, kCopied, Link("inline-pw"), Link("inline-pw")},
      {"pipeline fails, old link stays shown", kGetLink, Url("wrong-password"), L"0000", kFailed, Link("inline-pw"), {}},
      {"copy after the failure", kCopy, {}, {}, kNothingToCopy, Link("inline-pw"), {}},
      {"link of spaces reaches the pipeline", kGetLink, L"   ", L"", kFailed, Link("inline-pw"), {}},
      {"clipboard held: get link", kGetLink, Url("framed"), {}, kObtainedNotCopied, Link("framed"), {}, true},
      {"clipboard held: copy", kCopy, {}, {}, kCopyFailed, Link("framed"), {}, true},
      {"result edited: the resolved link is copied", kCopy, {}, {}, kCopied, L"edited", Link("framed"), false, L"edited"},
  };
  // Holds the clipboard as another program may, with a window: under Wine a
  // clipboard opened without one can be opened by any other caller without one.
  HWND holder = CreateWindowExW(0, L"Static", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    ASSERT_TRUE(WriteClipboardText(kMark));
    EXPECT_TRUE(!step.link || SetWindowTextTo(window.linkEdit, *step.link));
    EXPECT_TRUE(!step.password || SetWindowTextTo(GetDlgItem(window.main, kPasswordEdit), *step.password));
    EXPECT_TRUE(!step.typedResult || SetWindowTextTo(window.resultEdit, *step.typedResult));
    const bool held = step.clipboardHeld && OpenClipboard(holder);
    EXPECT_EQ(held, step.clipboardHeld);
    EXPECT_EQ(window.Click(step.button), step.box);
    if (held) CloseClipboard();
    EXPECT_EQ(WindowText(window.resultEdit), step.result);
    EXPECT_EQ(ReadClipboardText(), step.clipboard.value_or(kMark));
  }
  DestroyWindow(holder);
  EXPECT_EQ(window.Close(), 0u);
}

// Both programs offline: the window as laid out, the connection checked
// first even with no link typed, and a click from inside that box (it has
// no owner) bringing up a second one. The test build's check opens a closed
// port; the shipped program's opens the public site, out of reach where only
// loopback is up.
TEST_F(MainWindow, OfflineWindow) {
  const std::string closedPage = "http://127.0.0.1:" + std::to_string(ClosedLoopbackPort()) + "/";
  for (const bool shipped : {false, true}) {
    SCOPED_TRACE(shipped ? "shipped program" : "test build");
    if (shipped && !OnlyLoopbackIsUp()) GTEST_SKIP() << "the shipped program would contact the public site";
    WindowProgram window(shipped ? ZORVO_LINK_EXE : ZORVO_LINK_TEST_EXE, shipped ? "" : TestBuild(closedPage), !shipped);
    ASSERT_TRUE(window.ready());

    EXPECT_TRUE(CaptionShowsTheIcon(window.main));
    // Both edits: multi-line, keeping Enter, placed in client pixels, and
    // above every group box.
    std::vector<HWND> children = ChildWindows(window.main);
    auto order = [&](HWND w) { return std::find(children.begin(), children.end(), w) - children.begin(); };
    const struct {
      HWND edit;
      RECT place;
    } edits[] = {{window.linkEdit, {26, 29, 26 + 351, 29 + 50}}, {window.resultEdit, {26, 137, 26 + 351, 137 + 105}}};
    for (const auto& [edit, place] : edits) {
      RECT rect;
      GetWindowRect(edit, &rect);
      MapWindowPoints(nullptr, window.main, reinterpret_cast<POINT*>(&rect), 2);
      EXPECT_TRUE(EqualRect(&rect, &place)) << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
      EXPECT_EQ(GetWindowLongW(edit, GWL_STYLE) & 0x54011044, 0x54011044);
      EXPECT_TRUE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
      for (HWND child : children) {
        if (ClassName(child) == L"Button" && (GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
          EXPECT_LT(order(edit), order(child));
        }
      }
      ASSERT_TRUE(SetWindowTextTo(edit, L""));
      PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
      PostMessageW(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
      EXPECT_TRUE(WaitUntil([&] { return WindowText(edit) == L"\r\n"; }, 3000));
    }

    ASSERT_TRUE(SetWindowTextTo(window.linkEdit, L""));
    auto logged = [&](Box box) {  // the shipped program logs no styles
      if (shipped) box.style.clear();
      return box;
    };
    ASSERT_TRUE(ClickButton(window.main, kGetLink));
    std::optional<std::pair<MessageBoxView, Box>> outer = window.WaitForBox();
    ASSERT_TRUE(outer);
    EXPECT_EQ(outer->second, logged(kNotConnected));
    ASSERT_TRUE(ClickButton(window.main, kCopy));
    std::optional<std::pair<MessageBoxView, Box>> inner = window.WaitForBox(outer->first.window);
    ASSERT_TRUE(inner);
    EXPECT_EQ(inner->second, logged(kNothingToCopy));
    EXPECT_TRUE(PressMessageBoxButton(inner->first, IDOK));
    EXPECT_TRUE(PressMessageBoxButton(outer->first, IDOK));
    EXPECT_EQ(window.Close(), 0u);
  }
}

// Servers that accept a connection and never answer: the window goes on
// answering, runs one resolution at a time, and closes at once.
class WindowWhileWaiting : public MainWindow {
 protected:
  static constexpr double kNeverSeconds = 600;
  static constexpr ULONGLONG kAnswerMs = 1000;

  void SetUp() override {
    ASSERT_TRUE(Silent().ready());
    Silent().Reset();
  }
  static RecordServer& Silent() { return RecordServer::Shared(); }
  // A page on the server that never answers, and how many requests it got.
  static std::string SilentPage(const std::string& path) {
    Silent().Script({.path = path, .delaySeconds = kNeverSeconds});
    return Silent().HttpUrl(path);
  }
  static size_t RequestsFor(const std::string& path) {
    size_t count = 0;
    for (const RecordedRequest& request : Silent().Requests()) count += request.requestLine == "GET " + path + " HTTP/1.1";
    return count;
  }
};

TEST_F(WindowWhileWaiting, ShareThatNeverAnswers) {
  WindowProgram window(ZORVO_LINK_TEST_EXE,
                       TestBuild("http://127.0.0.1:" + std::to_string(Double().httpPort()) + "/"));
  ASSERT_TRUE(window.ready());
  ASSERT_TRUE(SetWindowTextTo(window.linkEdit, GbkToWide(SilentPage("/s/silent"))));
  HWND getLink = GetDlgItem(window.main, kGetLink);
  ASSERT_TRUE(ClickButton(window.main, kGetLink));
  ASSERT_TRUE(WaitUntil([] { return RequestsFor("/s/silent") == 1; }));

  EXPECT_TRUE(window.Answers(kAnswerMs));
  EXPECT_FALSE(IsWindowEnabled(getLink));
  // Clicks that still reach the command start nothing; the copy command works.
  EXPECT_TRUE(ClickButton(window.main, kGetLink));
  EXPECT_TRUE(PostMessageW(getLink, BM_CLICK, 0, 0));
  EXPECT_EQ(window.Click(kCopy), kNothingToCopy);
  EXPECT_TRUE(window.Answers(kAnswerMs));
  EXPECT_EQ(RequestsFor("/s/silent"), 1u);

  const ULONGLONG closing = GetTickCount64();
  EXPECT_EQ(window.Close(3000), 0u);
  EXPECT_LT(GetTickCount64() - closing, 3000u);
}

// The online check gives up at its deadline: no connection.
TEST_F(WindowWhileWaiting, OnlineCheckThatNeverAnswers) {
  constexpr unsigned kMarginMs = 5000;
  WindowProgram window(ZORVO_LINK_TEST_EXE, TestBuild(SilentPage("/")));
  ASSERT_TRUE(window.ready());
  ASSERT_TRUE(SetWindowTextTo(window.linkEdit, Url("framed")));
  const ULONGLONG clicked = GetTickCount64();
  ASSERT_TRUE(ClickButton(window.main, kGetLink));
  ASSERT_TRUE(WaitUntil([] { return RequestsFor("/") == 1; }));
  EXPECT_TRUE(window.Answers(kAnswerMs));
  std::optional<std::pair<MessageBoxView, Box>> box = window.WaitForBox(nullptr, kOnlineCheckDeadlineMs + kMarginMs);
  const ULONGLONG waited = GetTickCount64() - clicked;
  ASSERT_TRUE(box);
  EXPECT_EQ(box->second, kNotConnected);
  EXPECT_GE(waited, kOnlineCheckDeadlineMs);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window.main, kGetLink)));
  EXPECT_TRUE(PressMessageBoxButton(box->first, IDOK));
  EXPECT_EQ(window.Close(), 0u);
}

}  // namespace
