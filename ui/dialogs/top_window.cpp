// The operations of top-level windows: icons, regions, background,
// accelerators and placement.
#include "ui/dialogs/top_window.h"

#include "ui/core/toolkit_instance.h"
#include "ui/fonts/gdiplus_api.h"
#include "ui/icons/icon_object.h"

TopWindow::TopWindow() { GetBinding()->PutLevel(kTopWindowLevel); }

INT_PTR TopWindow::DialogResult(std::optional<INT_PTR> value) {
  if (value) SetProperty("DialogResult", *value);
  return GetProperty("DialogResult");
}

// The new icon is shown before the old copy goes, so the window never shows
// a destroyed icon.
void TopWindow::StoreIcon(HICON icon, bool big) {
  const char* key = big ? "BigIcon" : "SmallIcon";
  auto previous = GetBinding()->GetHandle<HICON>(key);
  HICON copy = icon ? CopyIcon(icon) : nullptr;
  if (copy) {
    SetProperty(key, reinterpret_cast<INT_PTR>(copy));
  } else {
    RemoveProperty(key);
  }
  Send(WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(copy));
  if (previous) DestroyIcon(previous);
}

void TopWindow::SetIcon(const IconObject& icon, bool big) { StoreIcon(icon.Native(), big); }

bool TopWindow::LoadIconResource(const wchar_t* name, bool big) {
  HICON icon = LoadIconW(ToolkitInstance(), name);
  StoreIcon(icon, big);
  return icon != nullptr;
}

void TopWindow::SetBackImage(Gdiplus::GpImage* image) {
  GetBinding()->FreeHandle<Gdiplus::GpImage*>("pBackImage", Gdiplus::DllExports::GdipDisposeImage);
  if (image) SetProperty("pBackImage", reinterpret_cast<INT_PTR>(image));
  Invalidate();
}

COLORREF TopWindow::BackColor(std::optional<COLORREF> color) {
  auto previous = static_cast<COLORREF>(HasProperty("BackColor") ? GetProperty("BackColor") : CLR_INVALID);
  if (color) {
    SetProperty("BackColor", static_cast<INT_PTR>(*color));
    Invalidate();
  }
  return previous;
}

bool TopWindow::SetRoundRegion(int ellipseWidth, int ellipseHeight) {
  RECT r = ScreenRect();
  HRGN region = CreateRoundRectRgn(0, 0, r.right - r.left + 1, r.bottom - r.top + 1, ellipseWidth, ellipseHeight);
  if (SetRegion(region)) return true;
  DeleteObject(region);
  return false;
}

void TopWindow::SetAcceleratorTable(HACCEL table) {
  GetBinding()->FreeHandle<HACCEL>("hAccelTable", DestroyAcceleratorTable);
  if (table) SetProperty("hAccelTable", reinterpret_cast<INT_PTR>(table));
}

void TopWindow::HostActiveXWindow(HWND host) {
  auto* hosted = GetBinding()->GetHandle<HostedActiveXWindows*>("ATLWindows");
  if (!hosted) {
    hosted = new HostedActiveXWindows;
    SetProperty("ATLWindows", reinterpret_cast<INT_PTR>(hosted));
  }
  hosted->push_back(host);
}

void CentreWindow(HWND window, bool overVisibleOwner) {
  RECT r;
  GetWindowRect(window, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  auto owner = reinterpret_cast<HWND>(GetWindowLongPtrW(window, GWLP_HWNDPARENT));
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (overVisibleOwner && owner && IsWindowVisible(owner)) GetWindowRect(owner, &area);
  MoveWindow(window, area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2,
             width, height, TRUE);
}

int TopWindow::Placement(std::optional<int> value) {
  HWND window = Handle();
  int previous = IsIconic(window) ? 1 : IsZoomed(window) ? 2 : 0;
  static constexpr int kShow[] = {SW_SHOWNORMAL, SW_MINIMIZE, SW_MAXIMIZE};
  if (value && *value >= 0 && *value <= 2) ShowWindow(window, kShow[*value]);
  if (value == 3) CentreWindow(window);
  return previous;
}
