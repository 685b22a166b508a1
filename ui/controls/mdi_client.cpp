// A control as the MDI client of a frame window.
#include "ui/controls/control_window.h"
#include "ui/core/toolkit_instance.h"

namespace {

constexpr wchar_t kMdiClientClass[] = L"zyMDIClient";

// The system's MDI client class under the toolkit's name, in the toolkit's
// module. A second registration fails harmlessly.
void RegisterMdiClientClass() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  if (!GetClassInfoExW(nullptr, L"MDIClient", &windowClass)) return;
  windowClass.hInstance = ToolkitInstance();
  windowClass.lpszClassName = kMdiClientClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

// The client's creation parameter must be its CLIENTCREATESTRUCT, so it is
// bound by subclassing only.
bool ControlWindow::CreateMdiClient(const WindowObject& parent, HMENU windowMenu, UINT firstChildId) {
  if (GetHandle()) return false;
  RegisterMdiClientClass();
  CLIENTCREATESTRUCT client{windowMenu, firstChildId};
  RECT area = parent.ClientRect();
  HWND window = CreateWindowExW(WS_EX_CLIENTEDGE, kMdiClientClass, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL,
                                0, 0, area.right, area.bottom, parent.GetHandle(), nullptr, ToolkitInstance(), &client);
  if (!AttachHandle(window)) return false;
  SetProperty("MDIClientMenu", reinterpret_cast<INT_PTR>(windowMenu));
  SetProperty("MDIClientFirstMenuId", firstChildId);
  parent.GetBinding()->Set("hWndMDIClient", reinterpret_cast<INT_PTR>(window));
  return true;
}
