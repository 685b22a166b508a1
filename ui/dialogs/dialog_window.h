// DialogWindow: a top-level window run by the dialog manager, made modal or
// modeless from a dialog resource or from an in-memory template. The dialog
// is bound when it receives WM_INITDIALOG and from then on reaches the
// toolkit's levels through DialogProcedure. A modal dialog ends when WM_CLOSE
// reaches it unvetoed, returning "DialogResult".
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "runtime/text.h"
#include "ui/dialogs/dialog_template.h"
#include "ui/dialogs/top_window.h"

class DialogWindow : public TopWindow {
 public:
  // In-memory dialogs start centred over their owner ("StartPosition" 2).
  DialogWindow();

  // Dialog units and pixels, by the dialog's font when there is a dialog,
  // else by the system's dialog base units.
  POINT DialogToPixels(int x, int y) const;
  POINT PixelsToDialog(int x, int y) const;

  UINT GetItemInt(int id, bool isSigned = true, bool* translated = nullptr) const;
  bool SetItemInt(int id, UINT value, bool isSigned = true) { return SetDlgItemInt(Handle(), id, value, isSigned); }
  Text GetItemText(int id) const;
  std::wstring GetItemTextW(int id) const;
  bool SetItemText(int id, const char* text);
  bool SetItemTextW(int id, const wchar_t* text) { return SetDlgItemTextW(Handle(), id, text); }
  LRESULT SendItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendDlgItemMessageW(Handle(), id, message, wParam, lParam);
  }

  // Dialogs from an in-memory template made of `layout` (its frame from
  // "Border" when set), the title and an optional class name; placed by
  // "StartPosition" (0 where the layout says, 1 centred on the screen, 2
  // centred over a visible owner, else on the screen).
  HWND ShowModelessFromTemplate(const DialogLayout& layout, const wchar_t* title, const wchar_t* className = nullptr,
                                std::optional<HWND> owner = std::nullopt);
  HWND ShowModelessFromTemplate(const DialogLayout& layout, const char* title, const char* className = nullptr,
                                std::optional<HWND> owner = std::nullopt);
  INT_PTR ShowModalFromTemplate(const DialogLayout& layout, const wchar_t* title, const wchar_t* className = nullptr,
                                std::optional<HWND> owner = std::nullopt);
  INT_PTR ShowModalFromTemplate(const DialogLayout& layout, const char* title, const char* className = nullptr,
                                std::optional<HWND> owner = std::nullopt);

  // Dialogs from the dialog resource `templateId` of the toolkit's module.
  // A class name registers a copy of the system dialog class under that
  // name, for templates that name it. Without an owner the dialog gets a
  // hidden "zyWindow" owner when the program registered that class. 0 when
  // the object is bound already or the dialog could not be made; a modal
  // dialog returns what it ended with.
  HWND ShowModelessFromResource(std::optional<HWND> owner = std::nullopt, int templateId = 0,
                                const wchar_t* className = nullptr);
  HWND ShowModelessFromResource(std::optional<HWND> owner, int templateId, const char* className);
  INT_PTR ShowModalFromResource(std::optional<HWND> owner = std::nullopt, int templateId = 0,
                                const wchar_t* className = nullptr);
  INT_PTR ShowModalFromResource(std::optional<HWND> owner, int templateId, const char* className);

 private:
  template <typename Create>
  auto Show(std::optional<HWND> owner, const wchar_t* className, Create create) -> decltype(create(HWND{}));
  std::vector<WORD> MakeTemplate(const DialogLayout& layout, const wchar_t* title, const wchar_t* className) const;
};

// The dialog procedure of toolkit dialogs: binds the dialog on
// WM_INITDIALOG from the binding in lParam (without subclassing), runs its
// levels, and ends it on an unvetoed WM_CLOSE with "DialogResult".
INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
