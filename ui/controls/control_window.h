// ui/controls: the child controls. ControlWindow is the base of every
// control: creation as a child window, binding of dialog items by id, the
// text and background colours it answers to its parent's colour messages,
// and clicks reflected from the parent as "OnClick". ButtonControl and
// EditControl build on it.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "runtime/text.h"
#include "ui/core/window_object.h"

namespace Event {
using Control = EventKey<HWND, INT_PTR>;  // (control, control id)
inline constexpr Control OnClick{"OnClick"};
}  // namespace Event

// The control's two levels: the region stage on the window object's
// levels, and the colour and click stage on top of it. Derived controls
// name kControlWindowLevel as the level below them.
extern const WindowLevel kControlRegionLevel;
extern const WindowLevel kControlWindowLevel;

// Automatic control ids: -1, -2, -3, ... in the order they are asked for.
int NextAutoId();

// "BackColor" -1: the control's background is left unpainted.
inline constexpr COLORREF kTransparentColor = CLR_INVALID;

// What a caller may leave out when creating a control; each control class
// has its own defaults. The position defaults to (0, 0), the id to
// NextAutoId().
struct ControlOptions {
  std::optional<int> x{}, y{}, width{}, height{};
  std::optional<int> id{};
  std::optional<DWORD> style{}, exStyle{};
};

class ControlWindow : public WindowObject {
 public:
  // Text black, background the button face, no background brush: the
  // system paints the control until a colour is set.
  ControlWindow();

  // The control's window without binding it: the class's procedure binds
  // it from the creation parameter. As CreateControl otherwise.
  bool CreateNative(const NativeWindowSpec& spec) override;

  // An MDI client filling the parent's client area (class "zyMDIClient", a
  // copy of the system's "MDIClient"), bound, and known to the parent as
  // its "hWndMDIClient".
  bool CreateMdiClient(const WindowObject& parent, HMENU windowMenu = nullptr, UINT firstChildId = 0);
  // Creates a visible child (the control border table applies to a stored
  // "Border"), the binding as creation parameter, and binds it; it starts
  // with the stock GUI font. False when the object is bound already or no
  // window was made.
  bool CreateControl(const NativeWindowSpec& spec);
  // Binds the parent's item `id`; with setFont the item gets the stock GUI
  // font first. False when there is no such item.
  bool AttachById(const WindowObject& parent, int id, bool setFont = false);
  int GetControlId() const { return GetWindowLongW(Handle(), GWL_ID); }
  // The control keeps a copy of the region and applies it at its next paint.
  void SetRegion(HRGN region);

  // Back to the construction colours, without a background brush.
  void ResetColors();
  // Without a colour: the text colour. With one: stores it, makes a
  // background brush from "BackColor" if there is none (so the colour is
  // answered), repaints, and returns the store's result (1 when a colour
  // was replaced).
  INT_PTR SetForeColor(std::optional<COLORREF> color = std::nullopt);
  // Without a colour: the background colour. With one (kTransparentColor
  // for none): makes its brush, repaints, and returns the previous colour.
  COLORREF SetBackColor(std::optional<COLORREF> color = std::nullopt);

 protected:
  struct ControlDefaults {
    const wchar_t* className;
    int width, height;
    DWORD style, exStyle;
  };
  // CreateControl under `parent`, with the class's defaults for what
  // `options` leaves out.
  bool CreateWithDefaults(const WindowObject& parent, const wchar_t* text, const ControlOptions& options,
                          const ControlDefaults& defaults);

  // With a text: sets the window's text and returns an empty result.
  // Without: the window's whole text; the text form gives an empty text,
  // never a missing one, for an empty window.
  std::wstring WindowTextW(std::optional<const wchar_t*> text);
  Text WindowText(std::optional<const char*> text);

 private:
  HWND CreateChildWindow(const NativeWindowSpec& spec);
};
