#include "ui/core/window_registry.h"

PropertyMap& WindowRegistry() {
  static auto* registry = new PropertyMap(MapKind::Integer, MapKind::Integer);
  return *registry;
}

WindowBinding* FindBinding(HWND window) {
  return window ? reinterpret_cast<WindowBinding*>(WindowRegistry().Get(reinterpret_cast<INT_PTR>(window))) : nullptr;
}

void RegisterBinding(HWND window, WindowBinding* binding) {
  WindowRegistry().Set(reinterpret_cast<INT_PTR>(window), reinterpret_cast<INT_PTR>(binding));
}

void UnregisterWindow(HWND window) { WindowRegistry().Remove(reinterpret_cast<INT_PTR>(window)); }
