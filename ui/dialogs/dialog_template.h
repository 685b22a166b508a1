// In-memory dialog templates: a dialog without controls or menu, in the
// system's dialog font, described by its styles, place and size in dialog
// units, title and window class.
#pragma once
#include <windows.h>

#include <string_view>
#include <vector>

struct DialogLayout {
  DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  DWORD exStyle = 0;
  short x = 0;
  short y = 0;
  short width = 200;
  short height = 100;
};

// The template's words, ready for the indirect dialog functions (the
// vector's storage is aligned for them). An empty class name leaves the
// system dialog class; a style asking for a font has that bit cleared,
// since the template carries none.
std::vector<WORD> BuildDialogTemplate(const DialogLayout& layout, std::wstring_view title, std::wstring_view className);
