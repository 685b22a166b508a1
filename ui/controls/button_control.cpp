// The push button's operations and its level: Enter clicks the button, and
// its icon goes with its window.
#include "ui/controls/button_control.h"

#include "runtime/codepage.h"
#include "ui/core/window_registry.h"

namespace {

void DestroyButtonIcon(WindowBinding& binding) { binding.FreeHandle<HICON>("BtnIcon", DestroyIcon); }

LRESULT HandleMessage(WindowBinding& binding, const WindowMessage& m, bool&) {
  if (m.id == WM_NCDESTROY) DestroyButtonIcon(binding);
  if (m.id == WM_KEYDOWN && m.wParam == VK_RETURN) SendMessageW(m.window, BM_CLICK, 0, 0);
  return 0;
}

// A window that outlives the binding lets go of the icon before it goes.
void DetachWindow(WindowBinding& binding) {
  if (!binding.Get("BtnIcon")) return;
  SendMessageW(binding.Window(), BM_SETIMAGE, IMAGE_ICON, 0);
  DestroyButtonIcon(binding);
}

const WindowLevel kButtonLevel{&kControlWindowLevel, HandleMessage, nullptr, DetachWindow};

void ReleaseBinding(WindowBinding* binding) { binding->Release(); }

}  // namespace

ButtonControl::ButtonControl() {
  GetBinding()->PutLevel(kButtonLevel);
  SetType("按钮");
}

bool ButtonControl::CreateButton(const WindowObject& parent, std::optional<const wchar_t*> text,
                                 const ControlOptions& options) {
  return CreateWithDefaults(parent, text.value_or(L"按钮"), options, {L"Button", 80, 32, WS_TABSTOP, 0});
}

bool ButtonControl::CreateButton(const WindowObject& parent, const char* text, const ControlOptions& options) {
  return CreateButton(parent, GbkToWide(TextView(text)).c_str(), options);
}

// The new icon is shown before the old one is destroyed, so the button
// never draws a destroyed icon.
void ButtonControl::SetButtonIcon(const IconObject& icon) {
  auto previous = GetBinding()->GetHandle<HICON>("BtnIcon");
  HICON copy = icon.Native() ? CopyIcon(icon.Native()) : nullptr;
  AddStyle(BS_ICON);
  SetProperty("BtnIcon", reinterpret_cast<INT_PTR>(copy));
  Send(BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(copy));
  if (previous) DestroyIcon(previous);
}

IconObject ButtonControl::GetButtonIcon() const {
  IconObject icon;
  if (auto held = GetBinding()->GetHandle<HICON>("BtnIcon")) icon.Adopt(CopyIcon(held));
  return icon;
}

// The top-level window holds a reference to the binding it stores. The
// reference is taken before the one held there is released, which may be
// this button's own.
void ButtonControl::StoreOnTopLevel(const char* key, bool thisButton) {
  WindowBinding* top = FindBinding(GetAncestor(Handle(), GA_ROOT));
  if (!top) return;
  WindowBinding* stored = thisButton ? GetBinding() : nullptr;
  if (stored) stored->AddRef();
  top->FreeHandle<WindowBinding*>(key, ReleaseBinding);
  top->Set(key, reinterpret_cast<INT_PTR>(stored));
}

bool ButtonControl::SetDefaultButton(std::optional<bool> value) {
  bool was = Style() & BS_DEFPUSHBUTTON;
  if (!value) return was;
  StoreOnTopLevel("DefaultButton", *value);
  if (*value) {
    AddStyle(BS_DEFPUSHBUTTON);
  } else {
    RemoveStyle(BS_DEFPUSHBUTTON);
  }
  return was;
}

bool ButtonControl::SetCancelButton(std::optional<bool> value) {
  bool was = GetProperty("Cancel");
  if (!value) return was;
  SetProperty("Cancel", *value);
  StoreOnTopLevel("CancelButton", *value);
  return was;
}
