#include "runtime/message_box.h"

#include <cstring>
#include <string>

#include "runtime/codepage.h"

namespace {

MessageBoxHandler g_handler = nullptr;

// A GBK text as UTF-16: converted into the object itself when it fits, so
// that no memory is needed, else into a string.
class WideText {
 public:
  explicit WideText(const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    const int units = MultiByteToWideChar(kTextCodePage, 0, text, length, fixed_, kFixedUnits - 1);
    fixed_[units] = L'\0';
    if (units == 0 && length > 0) long_ = GbkToWide(text);
  }
  const wchar_t* get() const { return long_.empty() ? fixed_ : long_.c_str(); }

 private:
  static constexpr int kFixedUnits = 1024;
  wchar_t fixed_[kFixedUnits];
  std::wstring long_;
};

}  // namespace

int RuntimeMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
  const WideText wideText(text ? text : "");
  const WideText wideCaption(caption ? caption : "");
  if (g_handler) return g_handler(owner, wideText.get(), wideCaption.get(), style);
  return MessageBoxW(owner, wideText.get(), wideCaption.get(), style);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
  MessageBoxHandler previous = g_handler;
  g_handler = handler;
  return previous;
}
