// Dialog units, dialog items and the creation of modal and modeless dialogs.
#include "ui/dialogs/dialog_window.h"

#include <memory>
#include <type_traits>

#include "runtime/codepage.h"
#include "ui/core/toolkit_instance.h"

namespace {

struct WindowCloser {
  void operator()(HWND window) const { DestroyWindow(window); }
};
using OwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

// The owner of dialogs shown without one: a hidden popup of the program's
// "zyWindow" class. The toolkit registers no such class, so normally there
// is none and the dialog has no owner.
OwnedWindow MakeHiddenOwner() {
  return OwnedWindow(CreateWindowExW(0, L"zyWindow", L"ShowTaskbar", WS_POPUP, 0, 0, 250, 110, nullptr, nullptr,
                                     ToolkitInstance(), nullptr));
}

// A copy of the system dialog class under the template's class name; it
// fails harmlessly when the name is registered already.
void RegisterDialogClassCopy(const wchar_t* className) {
  WNDCLASSEXW dialogClass{};
  dialogClass.cbSize = sizeof dialogClass;
  if (!GetClassInfoExW(ToolkitInstance(), L"#32770", &dialogClass)) return;
  dialogClass.lpszClassName = className;
  dialogClass.hInstance = ToolkitInstance();
  RegisterClassExW(&dialogClass);
}

std::wstring Wide(const char* text) { return GbkToWide(TextView(text)); }

// Runs DialogProcedure, then places a dialog made from a template by its
// "StartPosition".
INT_PTR CALLBACK TemplateDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  INT_PTR result = DialogProcedure(window, message, wParam, lParam);
  if (message != WM_INITDIALOG || !lParam) return result;
  INT_PTR start = reinterpret_cast<WindowBinding*>(lParam)->Get("StartPosition");
  if (start == 1 || start == 2) CentreWindow(window, start == 2);
  return result;
}

}  // namespace

DialogWindow::DialogWindow() { SetProperty("StartPosition", 2); }

POINT DialogWindow::DialogToPixels(int x, int y) const {
  if (HWND dialog = Handle()) {
    RECT r{0, 0, x, y};
    MapDialogRect(dialog, &r);
    return {r.right, r.bottom};
  }
  LONG base = GetDialogBaseUnits();
  return {MulDiv(x, LOWORD(base), 4), MulDiv(y, HIWORD(base), 8)};
}

// The inverse of DialogToPixels, by the same base units.
POINT DialogWindow::PixelsToDialog(int x, int y) const {
  POINT base = DialogToPixels(4, 8);
  return {MulDiv(x, 4, base.x), MulDiv(y, 8, base.y)};
}

UINT DialogWindow::GetItemInt(int id, bool isSigned, bool* translated) const {
  BOOL ok = FALSE;
  UINT value = GetDlgItemInt(Handle(), id, &ok, isSigned);
  if (translated) *translated = ok;
  return value;
}

std::wstring DialogWindow::GetItemTextW(int id) const {
  HWND item = GetDlgItem(Handle(), id);
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  text.resize(GetDlgItemTextW(Handle(), id, text.data(), static_cast<int>(text.size())));
  return text;
}

Text DialogWindow::GetItemText(int id) const { return Text::Copy(WideToGbk(GetItemTextW(id))); }

bool DialogWindow::SetItemText(int id, const char* text) { return SetItemTextW(id, Wide(text).c_str()); }

template <typename Create>
auto DialogWindow::Show(std::optional<HWND> owner, const wchar_t* className, Create create)
    -> decltype(create(HWND{})) {
  if (GetHandle()) return {};
  OwnedWindow hiddenOwner = owner ? nullptr : MakeHiddenOwner();
  if (className && *className) RegisterDialogClassCopy(className);
  auto made = create(owner ? *owner : hiddenOwner.get());
  // A modeless dialog keeps its hidden owner; a modal one is over by now.
  if constexpr (std::is_same_v<decltype(made), HWND>) {
    if (made) hiddenOwner.release();
  }
  return made;
}

std::vector<WORD> DialogWindow::MakeTemplate(const DialogLayout& layout, const wchar_t* title,
                                             const wchar_t* className) const {
  DialogLayout framed = layout;
  ApplyStoredBorder(ApplyFrameBorder, framed.style, framed.exStyle);
  return BuildDialogTemplate(framed, title ? title : L"", className ? className : L"");
}

HWND DialogWindow::ShowModelessFromTemplate(const DialogLayout& layout, const wchar_t* title, const wchar_t* className,
                                            std::optional<HWND> owner) {
  std::vector<WORD> words = MakeTemplate(layout, title, className);
  return Show(owner, className, [&](HWND ownerWindow) {
    return CreateDialogFromTemplate(reinterpret_cast<const DLGTEMPLATE*>(words.data()), ownerWindow,
                                    TemplateDialogProcedure);
  });
}

HWND DialogWindow::ShowModelessFromTemplate(const DialogLayout& layout, const char* title, const char* className,
                                            std::optional<HWND> owner) {
  return ShowModelessFromTemplate(layout, Wide(title).c_str(), Wide(className).c_str(), owner);
}

INT_PTR DialogWindow::ShowModalFromTemplate(const DialogLayout& layout, const wchar_t* title, const wchar_t* className,
                                            std::optional<HWND> owner) {
  std::vector<WORD> words = MakeTemplate(layout, title, className);
  return Show(owner, className, [&](HWND ownerWindow) {
    return DialogBoxFromTemplate(reinterpret_cast<const DLGTEMPLATE*>(words.data()), ownerWindow,
                                 TemplateDialogProcedure);
  });
}

INT_PTR DialogWindow::ShowModalFromTemplate(const DialogLayout& layout, const char* title, const char* className,
                                            std::optional<HWND> owner) {
  return ShowModalFromTemplate(layout, Wide(title).c_str(), Wide(className).c_str(), owner);
}

HWND DialogWindow::ShowModelessFromResource(std::optional<HWND> owner, int templateId, const wchar_t* className) {
  return Show(owner, className, [&](HWND ownerWindow) {
    return CreateDialogFromResource(MAKEINTRESOURCEW(templateId), ownerWindow, DialogProcedure);
  });
}

HWND DialogWindow::ShowModelessFromResource(std::optional<HWND> owner, int templateId, const char* className) {
  return ShowModelessFromResource(owner, templateId, Wide(className).c_str());
}

INT_PTR DialogWindow::ShowModalFromResource(std::optional<HWND> owner, int templateId, const wchar_t* className) {
  return Show(owner, className, [&](HWND ownerWindow) {
    return DialogBoxFromResource(MAKEINTRESOURCEW(templateId), ownerWindow, DialogProcedure);
  });
}

INT_PTR DialogWindow::ShowModalFromResource(std::optional<HWND> owner, int templateId, const char* className) {
  return ShowModalFromResource(owner, templateId, Wide(className).c_str());
}
