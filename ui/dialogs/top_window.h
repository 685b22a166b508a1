// ui/dialogs: top-level windows and dialogs, and the toolkit's application
// object. TopWindow adds the events of a top-level window (creation, close
// with veto, activation, system commands), its icons, background and
// placement, and the default and cancel buttons pressed by Enter and Esc.
#pragma once
#include <windows.h>

#include <optional>
#include <vector>

#include "ui/core/window_object.h"
#include "ui/dialogs/top_window_events.h"

namespace Gdiplus {
class GpImage;
}
class IconObject;

// The level of top-level windows, on top of the window object's levels.
extern const WindowLevel kTopWindowLevel;

class TopWindow : public WindowObject {
 public:
  TopWindow();

  // Logical properties: without a value the current one; with one, sets it
  // and returns the previous one.
  bool NcEverActive(std::optional<bool> value = std::nullopt) { return Flag("NCEverActive", value); }
  bool FreeMove(std::optional<bool> value = std::nullopt) { return Flag("FreeMove", value); }
  // What a modal dialog returns when it is closed; sets it when given.
  INT_PTR DialogResult(std::optional<INT_PTR> value = std::nullopt);

  // The window shows its own copy of the icon ("BigIcon" or "SmallIcon");
  // the copy it showed before is destroyed. An empty icon object clears it.
  void SetIcon(const IconObject& icon, bool big = false);
  // The same with an icon resource of the toolkit's module.
  bool LoadIconResource(const wchar_t* name, bool big = false);
  // The system owns a region once it is set.
  bool SetRegion(HRGN region) { return SetWindowRgn(Handle(), region, TRUE); }
  bool ClearRegion() { return SetWindowRgn(Handle(), nullptr, TRUE); }

  // Background ("pBackImage", owned by the window; "ShowImageType" 0
  // stretched over the client area, 1 at its own size in the top-left
  // corner, 2 centred; "BackColor", -1 for none), drawn on WM_ERASEBKGND.
  void SetBackImage(Gdiplus::GpImage* image);
  Gdiplus::GpImage* BackImage() const { return GetBinding()->GetHandle<Gdiplus::GpImage*>("pBackImage"); }
  INT_PTR ShowImageType(std::optional<INT_PTR> mode = std::nullopt) { return Value("ShowImageType", mode); }
  COLORREF BackColor(std::optional<COLORREF> color = std::nullopt);

  // A region of rounded corners over the whole window.
  bool SetRoundRegion(int ellipseWidth, int ellipseHeight);
  // Accelerators translated for this window by the toolkit's message loop
  // ("hAccelTable", owned by the window).
  void SetAcceleratorTable(HACCEL table);

  // Without a value: 1 minimised, 2 maximised, else 0. With 0, 1, 2: shown
  // normal, minimised, maximised; 3 centres the window over a visible owner,
  // else on the screen. Returns the placement before the call.
  int Placement(std::optional<int> value = std::nullopt);

  HMENU Menu() const { return GetMenu(Handle()); }
  bool SetMenu(HMENU menu) { return ::SetMenu(Handle(), menu); }
  bool DrawMenuBar() { return ::DrawMenuBar(Handle()); }

  // "EscClose": Esc (IDCANCEL) closes the window.
  bool EscClose(std::optional<bool> value = std::nullopt) { return Flag("EscClose", value); }
  HWND ControlById(int id) const { return GetDlgItem(Handle(), id); }
  bool AttachControlById(WindowObject& control, int id) const { return control.Attach(ControlById(id)); }
  void SetWaitCursor(bool wait) { SetProperty("WaitCursor", wait); }
  bool WaitCursor() const { return GetProperty("WaitCursor") != 0; }
  // The placement code of windows made from in-memory templates.
  INT_PTR StartPosition(std::optional<INT_PTR> code = std::nullopt) { return Value("StartPosition", code); }

  void SetOnCreate(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnCreate, handler); }
  void SetOnClose(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnClose, handler); }
  void SetOnMenuItemClick(Event::MenuItem::Handler handler) { GetBinding()->SetEvent(Event::OnMenuItemClick, handler); }
  void SetOnDestory(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnDestory, handler); }
  void SetOnMove(Event::Position::Handler handler) { GetBinding()->SetEvent(Event::OnMove, handler); }
  void SetOnSize(Event::Position::Handler handler) { GetBinding()->SetEvent(Event::OnSize, handler); }
  void SetOnActivate(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnActivate, handler); }
  void SetOnUnActivate(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnUnActivate, handler); }
  void SetOnFirstActivate(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnFirstActivate, handler); }
  void SetOnShow(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnShow, handler); }
  void SetOnHide(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnHide, handler); }
  void SetOnNotifIcon(Event::TrayEvent::Handler handler) { GetBinding()->SetEvent(Event::OnNotifIcon, handler); }
  void SetOnInitMenuPopup(Event::MenuPopup::Handler handler) { GetBinding()->SetEvent(Event::OnInitMenuPopup, handler); }
  void SetOnMenuSelect(Event::MenuSelect::Handler handler) { GetBinding()->SetEvent(Event::OnMenuSelect, handler); }
  void SetOnUserClose(Event::Notify::Handler handler) { GetBinding()->SetEvent(Event::OnUserClose, handler); }
  void SetOnSysCommand(Event::SysCommand::Handler handler) { GetBinding()->SetEvent(Event::OnSysCommand, handler); }

  // Top-level windows take their frame from the top-level border table.
  int SetBorder(std::optional<int> code = std::nullopt) override { return SetBorderWith(code, ApplyFrameBorder); }

  // Windows of hosted ActiveX controls ("ATLWindows"): the toolkit's message
  // loop lets them translate the keys meant for them first.
  void HostActiveXWindow(HWND host);

 private:
  bool Flag(const char* key, std::optional<bool> value) { return Value(key, value) != 0; }
  template <typename T>
  INT_PTR Value(const char* key, std::optional<T> value) {
    INT_PTR previous = GetProperty(key);
    if (value) SetProperty(key, static_cast<INT_PTR>(*value));
    return previous;
  }
  void StoreIcon(HICON icon, bool big);
};

// The windows of hosted ActiveX controls, as "ATLWindows" holds them.
using HostedActiveXWindows = std::vector<HWND>;

// Centres a top-level window, keeping its size: over its owner when asked
// and the owner is visible, else on the screen.
void CentreWindow(HWND window, bool overVisibleOwner = true);
