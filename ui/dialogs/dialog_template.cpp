#include "ui/dialogs/dialog_template.h"

namespace {

void AppendText(std::vector<WORD>& words, std::wstring_view text) {
  words.insert(words.end(), text.begin(), text.end());
  words.push_back(0);
}

void AppendLong(std::vector<WORD>& words, DWORD value) {
  words.push_back(LOWORD(value));
  words.push_back(HIWORD(value));
}

}  // namespace

// DLGTEMPLATE, then the menu, class and title arrays.
std::vector<WORD> BuildDialogTemplate(const DialogLayout& layout, std::wstring_view title, std::wstring_view className) {
  std::vector<WORD> words;
  AppendLong(words, layout.style & ~DWORD{DS_SETFONT});
  AppendLong(words, layout.exStyle);
  words.push_back(0);  // no controls
  for (short value : {layout.x, layout.y, layout.width, layout.height}) words.push_back(static_cast<WORD>(value));
  words.push_back(0);  // no menu
  if (className.empty()) {
    words.push_back(0);
  } else {
    AppendText(words, className);
  }
  AppendText(words, title);
  return words;
}
