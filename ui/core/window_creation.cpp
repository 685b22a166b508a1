// Creation of native windows and dialogs for a window object, and its
// border codes. The binding travels as the creation parameter, so the new
// window's procedure can bind it.
#include "ui/core/toolkit_instance.h"
#include "ui/core/window_object.h"

template <typename Create>
auto WindowObject::CreateWithBinding(Create create) -> decltype(create(LPARAM{})) {
  if (GetHandle()) return {};
  return create(reinterpret_cast<LPARAM>(binding_.get()));
}

bool WindowObject::CreateNative(const NativeWindowSpec& spec) {
  DWORD style = spec.style, exStyle = spec.exStyle;
  ApplyStoredBorder(ApplyFrameBorder, style, exStyle);
  HWND window = CreateWithBinding([&](LPARAM binding) {
    return CreateWindowExW(exStyle, spec.className, spec.text, style, spec.x, spec.y, spec.width, spec.height,
                           spec.parent, spec.menuOrId, ToolkitInstance(), reinterpret_cast<void*>(binding));
  });
  return window != nullptr;
}

HWND WindowObject::CreateDialogFromTemplate(const DLGTEMPLATE* dialogTemplate, HWND owner, DLGPROC procedure) {
  return CreateWithBinding([&](LPARAM binding) {
    return CreateDialogIndirectParamW(ToolkitInstance(), dialogTemplate, owner, procedure, binding);
  });
}

INT_PTR WindowObject::DialogBoxFromTemplate(const DLGTEMPLATE* dialogTemplate, HWND owner, DLGPROC procedure) {
  return CreateWithBinding([&](LPARAM binding) {
    return DialogBoxIndirectParamW(ToolkitInstance(), dialogTemplate, owner, procedure, binding);
  });
}

HWND WindowObject::CreateDialogFromResource(const wchar_t* templateName, HWND owner, DLGPROC procedure) {
  return CreateWithBinding([&](LPARAM binding) {
    return CreateDialogParamW(ToolkitInstance(), templateName, owner, procedure, binding);
  });
}

INT_PTR WindowObject::DialogBoxFromResource(const wchar_t* templateName, HWND owner, DLGPROC procedure) {
  return CreateWithBinding([&](LPARAM binding) {
    return DialogBoxParamW(ToolkitInstance(), templateName, owner, procedure, binding);
  });
}

HWND WindowObject::CreateMdiChild(const NativeWindowSpec& spec) {
  return CreateWithBinding([&](LPARAM binding) {
    return CreateMDIWindowW(spec.className, spec.text, spec.style, spec.x, spec.y, spec.width, spec.height,
                            spec.parent, ToolkitInstance(), binding);
  });
}

void WindowObject::ApplyStoredBorder(BorderRule rule, DWORD& style, DWORD& exStyle) const {
  if (HasProperty("Border")) rule(static_cast<int>(GetProperty("Border")), style, exStyle);
}

int WindowObject::SetBorderWith(std::optional<int> code, BorderRule rule) {
  auto previous = static_cast<int>(GetProperty("Border"));
  if (!code) return previous;
  SetProperty("Border", *code);
  HWND window = Handle();
  if (!IsWindow(window)) return previous;
  DWORD style = GetWindowLongW(window, GWL_STYLE), exStyle = GetWindowLongW(window, GWL_EXSTYLE);
  rule(*code, style, exStyle);
  SetWindowLongW(window, GWL_STYLE, static_cast<LONG>(style));
  SetWindowLongW(window, GWL_EXSTYLE, static_cast<LONG>(exStyle));
  RedrawFrame(window);
  return previous;
}

void WindowObject::ApplyControlBorder(int code, DWORD& style, DWORD& exStyle) {
  static constexpr DWORD kExtended[] = {0, WS_EX_CLIENTEDGE, WS_EX_WINDOWEDGE, WS_EX_STATICEDGE,
                                        WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE};
  style &= ~WS_BORDER;
  exStyle &= ~(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE);
  if (code == 5) style |= WS_BORDER;
  if (code >= 1 && code <= 4) exStyle |= kExtended[code];
}

void WindowObject::ApplyFrameBorder(int code, DWORD& style, DWORD& exStyle) {
  constexpr DWORD kFixed = WS_SYSMENU | WS_CAPTION | WS_BORDER | WS_DLGFRAME;
  constexpr DWORD kSizable = kFixed | WS_THICKFRAME;
  static constexpr struct {
    DWORD style;
    DWORD exStyle;
  } kFrames[] = {
      {WS_POPUP, 0},
      {kSizable, WS_EX_WINDOWEDGE},
      {kFixed, WS_EX_WINDOWEDGE},
      {kSizable, WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW},
      {kFixed, WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW},
      {kSizable, WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE},
      {kFixed, WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE},
  };
  style &= ~(WS_POPUP | kSizable);
  exStyle &= ~(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_TOOLWINDOW);
  const auto& frame = code >= 0 && code <= 6 ? kFrames[code] : kFrames[2];
  style |= frame.style;
  exStyle |= frame.exStyle;
}
