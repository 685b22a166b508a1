#include "ui/dialogs/toolkit_app.h"

#include <commctrl.h>

#include "ui/core/toolkit_instance.h"
#include "ui/core/window_registry.h"
#include "ui/fonts/gdiplus_api.h"

namespace {

// atl.dll's ActiveX control-hosting initialisation, exported by ordinal 42.
// The module stays loaded: the hosting window class lives in it.
void InitControlHosting() {
  HMODULE atl = LoadLibraryW(L"atl.dll");
  FARPROC address = atl ? GetProcAddress(atl, MAKEINTRESOURCEA(42)) : nullptr;
  if (address) reinterpret_cast<BOOL(WINAPI*)()>(reinterpret_cast<void (*)()>(address))();
}

}  // namespace

ToolkitApp::~ToolkitApp() {
  if (gdiplusToken_) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

void ToolkitApp::InitToolkit(std::optional<HINSTANCE> instance, std::optional<int> atlMode,
                             std::optional<DWORD> controlClasses) {
  WindowRegistry();
  SetToolkitInstance(instance ? *instance : GetModuleHandleW(nullptr));
  if (!gdiplusToken_) {
    Gdiplus::GdiplusStartupInput input;  // version 1
    if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) gdiplusToken_ = 0;
  }
  if (atlMode.value_or(kHostActiveX) == kHostActiveX) InitControlHosting();
  INITCOMMONCONTROLSEX controls{sizeof controls, controlClasses.value_or(kAllControlClasses)};
  InitCommonControlsEx(&controls);
}
