#include <gtest/gtest.h>

#include <string>

#include "runtime/codepage.h"
#include "runtime/message_box.h"
#include "runtime/show_message.h"

namespace {

struct SeenBox {
  HWND owner;
  std::string text;  // GBK again
  std::string caption;
  UINT style;
};
SeenBox g_seen;
int g_answer = IDOK;

int RecordBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  g_seen = {owner, WideToGbk(text), WideToGbk(caption), style};
  return g_answer;
}

class ShowMessageTest : public testing::Test {
 protected:
  void SetUp() override {
    previous_ = SetMessageBoxHandler(RecordBox);
    g_answer = IDOK;
  }
  void TearDown() override { SetMessageBoxHandler(previous_); }
  MessageBoxHandler previous_ = nullptr;
};

}  // namespace

TEST_F(ShowMessageTest, TextOnlyUsesInformationCaptionAndOk) {
  EXPECT_EQ(ShowMessage(TypedArg::OfText("你好")), 0);
  EXPECT_EQ(g_seen.text, "你好");
  EXPECT_EQ(g_seen.caption, "信息");
  EXPECT_EQ(g_seen.style, static_cast<UINT>(MB_OK));
  EXPECT_EQ(g_seen.owner, nullptr);
}

TEST_F(ShowMessageTest, ValuesAreShownByKind) {
  ShowMessage(TypedArg::Int(42));
  EXPECT_EQ(g_seen.text, "42");
  ShowMessage(TypedArg::Logical(false));
  EXPECT_EQ(g_seen.text, "假");
  ShowMessage(TypedArg::Double(1.5));
  EXPECT_EQ(g_seen.text, "1.5");
  ShowMessage(TypedArg::DateTime(2.5));
  EXPECT_EQ(g_seen.text, "1900年1月1日12时");
  ShowMessage(TypedArg::OfText(nullptr));
  EXPECT_EQ(g_seen.text, "");
  int variable = 7;
  ShowMessage(TypedArg::Reference(ValueType::Int, &variable));
  EXPECT_EQ(g_seen.text, "");
}

TEST_F(ShowMessageTest, GivenNullTitleIsAnEmptyCaption) {
  ShowMessage(TypedArg::OfText("x"), std::nullopt, std::optional<const char*>(nullptr));
  EXPECT_EQ(g_seen.caption, "");
  ShowMessage(TypedArg::OfText("x"), MB_ICONERROR | MB_TOPMOST, "标题");
  EXPECT_EQ(g_seen.caption, "标题");
  EXPECT_EQ(g_seen.style, static_cast<UINT>(MB_ICONERROR | MB_TOPMOST));
}

TEST_F(ShowMessageTest, OwnerOnlyWhenAnInt) {
  HWND window = reinterpret_cast<HWND>(0x1234);
  ShowMessage(TypedArg::OfText("x"), 0, "t", TypedArg{reinterpret_cast<UINT_PTR>(window), 0, ValueType::Int});
  EXPECT_EQ(g_seen.owner, window);
  ShowMessage(TypedArg::OfText("x"), 0, "t", TypedArg::OfText("not a window"));
  EXPECT_EQ(g_seen.owner, nullptr);
}

TEST_F(ShowMessageTest, ResultIsButtonMinusOne) {
  g_answer = IDNO;
  EXPECT_EQ(ShowMessage(TypedArg::OfText("?"), MB_YESNO), 6);
  g_answer = IDCANCEL;
  EXPECT_EQ(ShowMessage(TypedArg::OfText("?"), MB_OKCANCEL), 1);
}

namespace {
// Presses OK on the first box titled "信息" and records its static text.
DWORD WINAPI PressOkOnInformationBox(void* seenText) {
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (HWND box = FindWindowW(L"#32770", L"\x4FE1\x606F")) {
      wchar_t text[64] = {};
      GetDlgItemTextW(box, 0xFFFF, text, 64);
      *static_cast<std::wstring*>(seenText) = text;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    Sleep(25);
  }
  return 1;
}
}  // namespace

TEST(ShowMessagePlatform, RealBoxShowsGbkTextReadablyAndReturnsZeroForOk) {
  std::wstring seen;
  HANDLE presser = CreateThread(nullptr, 0, PressOkOnInformationBox, &seen, 0, nullptr);
  EXPECT_EQ(ShowMessage(TypedArg::OfText("直链获取失败")), 0);
  WaitForSingleObject(presser, 10000);
  CloseHandle(presser);
  EXPECT_EQ(seen, L"\x76F4\x94FE\x83B7\x53D6\x5931\x8D25");
}
