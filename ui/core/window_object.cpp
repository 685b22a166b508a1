#include "ui/core/window_object.h"

#include <shellapi.h>

#include "ui/core/window_procedure.h"
#include "ui/core/window_registry.h"

WindowObject::WindowObject() : binding_(BindingRef::Adopt(new WindowBinding(kWindowObjectLevel))) {}

WindowObject::~WindowObject() = default;

bool WindowObject::ShareBinding(WindowBinding* other) {
  if (!other) return false;
  binding_ = BindingRef::Share(other);
  return true;
}

TextArray WindowObject::ListPropertyKeys() const {
  std::vector<Text> keys;
  for (std::string_view key : binding_->Properties().Keys()) keys.push_back(Text::Copy(key));
  return TextArray::From(std::move(keys));
}

namespace {

// "Type" and "Name" hold runtime-heap texts owned by the binding.
void StoreText(WindowBinding& binding, const char* key, const char* text) {
  binding.FreeHandle<char*>(key, RuntimeFree);
  binding.Set(key, reinterpret_cast<INT_PTR>(Text::Copy(text).release()));
}

}  // namespace

void WindowObject::SetType(const char* type) { StoreText(*binding_, "Type", type); }

Text WindowObject::GetType() const { return Text::Copy(binding_->GetHandle<const char*>("Type")); }

void WindowObject::SetName(const char* name) { StoreText(*binding_, "Name", name); }

Text WindowObject::GetName() const { return Text::Copy(binding_->GetHandle<const char*>("Name")); }

bool WindowObject::AttachHandle(HWND window) {
  if (!IsWindow(window)) return false;
  if (WindowBinding* registered = FindBinding(window)) {
    if (registered != binding_.get()) binding_ = BindingRef::Share(registered);
    return true;
  }
  if (binding_->Window()) {
    // Bound to another window: a binding of its own is detached from it and
    // reused; one shared with other objects stays theirs, and this object
    // goes on with a fresh binding of the same class.
    if (binding_->RefCount() == 1) {
      binding_->DetachWindow();
    } else {
      binding_ = BindingRef::Adopt(new WindowBinding(binding_->Level()));
    }
  }
  auto procedure = reinterpret_cast<LONG_PTR>(WindowProcedure);
  if (GetWindowLongPtrW(window, GWLP_WNDPROC) == procedure) return false;
  binding_->Register(window);
  LONG_PTR previous = SetWindowLongPtrW(window, GWLP_WNDPROC, procedure);
  if (!previous) {  // a window of another process cannot be subclassed
    binding_->Unbind();
    return false;
  }
  binding_->Set("oldWndProp", previous);
  return true;
}

bool WindowObject::IsBoundWindow(HWND window) { return IsWindow(window) && FindBinding(window); }

INT_PTR WindowObject::AddToolkitStyle(INT_PTR bits) { return SetToolkitStyle(ToolkitStyle() | bits); }

INT_PTR WindowObject::RemoveToolkitStyle(INT_PTR bits) { return SetToolkitStyle(ToolkitStyle() & ~bits); }

INT_PTR WindowObject::SetToolkitStyle(INT_PTR style) {
  INT_PTR previous = ToolkitStyle();
  binding_->Set("zyStyle", style);
  return previous;
}

void WindowObject::SetCursor(HCURSOR cursor) {
  binding_->FreeHandle<HCURSOR>("hCursor", DestroyCursor);
  binding_->Set("hCursor", reinterpret_cast<INT_PTR>(cursor ? CopyIcon(cursor) : nullptr));
}

HCURSOR WindowObject::GetCursor() const {
  auto cursor = binding_->GetHandle<HCURSOR>("hCursor");
  return cursor ? CopyIcon(cursor) : nullptr;
}

void WindowObject::AcceptFiles(bool accept) { DragAcceptFiles(Handle(), accept); }

bool WindowObject::SetLayout(const WindowObject& layout) {
  WindowBinding* layoutBinding = layout.GetBinding();
  layoutBinding->AddRef();
  binding_->FreeHandle<WindowBinding*>("zyLayout", [](WindowBinding* previous) { previous->Release(); });
  binding_->Set("zyLayout", reinterpret_cast<INT_PTR>(layoutBinding));
  if (auto* rect = layoutBinding->GetHandle<RECT*>("pRect")) *rect = ClientRect();
  bool handled = false;
  layoutBinding->HandleMessage({Handle(), kLayoutApplyMessage, 0, 0}, handled);
  return true;
}

LRESULT WindowObject::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallPreviousProcedure(binding_->GetHandle<WNDPROC>("oldWndProp"), {Handle(), message, wParam, lParam});
}

void WindowObject::AdoptControl(std::unique_ptr<WindowObject> control) {
  auto* controls = binding_->GetHandle<OwnedControls*>("Controls");
  if (!controls) {
    controls = new OwnedControls;
    binding_->Set("Controls", reinterpret_cast<INT_PTR>(controls));
  }
  controls->push_back(std::move(control));
}
