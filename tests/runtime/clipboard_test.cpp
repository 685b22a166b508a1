#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "runtime/clipboard.h"
#include "runtime/codepage.h"

namespace {

// The clipboard's data of the format, as bytes up to and including the
// terminator (of a wide or narrow text).
std::string ClipboardBytes(UINT format) {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(format)) {
    auto* begin = static_cast<const char*>(GlobalLock(data));
    bytes.assign(begin, GlobalSize(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return bytes;
}

}  // namespace

TEST(SetClipboardText, PlacesTheTextAsCfText) {
  ASSERT_TRUE(SetClipboardText("直链 http://127.0.0.1/a?b=1"));
  std::string text = ClipboardBytes(CF_TEXT);
  EXPECT_STREQ(text.c_str(), "直链 http://127.0.0.1/a?b=1");
  // Offered as Unicode, the GBK text reads right whatever the machine's code page.
  std::string wide = ClipboardBytes(CF_UNICODETEXT);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(wide.data())), GbkToWide("直链 http://127.0.0.1/a?b=1"));
}

TEST(SetClipboardText, EmptyTextIsPlacedAndNullIsRefused) {
  ASSERT_TRUE(SetClipboardText("previous"));
  EXPECT_FALSE(SetClipboardText(nullptr));
  EXPECT_STREQ(ClipboardBytes(CF_TEXT).c_str(), "previous");
  EXPECT_TRUE(SetClipboardText(""));
  EXPECT_STREQ(ClipboardBytes(CF_TEXT).c_str(), "");
}
