// WindowObject: the toolkit's handle on one native window. The object holds
// only its binding; every piece of state lives in the binding's property
// map, so objects attached to the same window share it. Operations are
// declared in the order of the class's operation table; derived classes keep
// them and append their own. An operation on an unbound object does nothing
// and returns 0 or an empty text.
#pragma once
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "runtime/array.h"
#include "runtime/text.h"
#include "ui/core/event_callback.h"
#include "ui/core/window_binding.h"

class FontObject;

// The window object's two levels: its event dispatch, which runs last, and
// its resource stage on top of it. Derived levels name kWindowObjectLevel as
// the level below them.
extern const WindowLevel kWindowDispatchLevel;
extern const WindowLevel kWindowObjectLevel;

// What a layout object ("zyLayout") receives: on every WM_SIZE the new client
// size (wParam width, lParam height), then the request to apply itself.
inline constexpr UINT kLayoutSizeMessage = 0x402;
inline constexpr UINT kLayoutApplyMessage = 0x401;

// "zyStyle" bits: the keys a window leaves to the dialog manager. The
// toolkit's message loop lets them reach it (kDialogTab lets Enter and the
// arrow keys through as well), and an edit's level does not take them.
namespace ToolkitStyle {
inline constexpr INT_PTR kDialogTab = 1;
inline constexpr INT_PTR kDialogEnter = 2;
inline constexpr INT_PTR kDialogArrows = 4;
}  // namespace ToolkitStyle

// Makes a style change show: redraws the frame without moving, sizing,
// reordering or activating the window (SetWindowPos flags 0x37).
void RedrawFrame(HWND window);

// A window's text, and its class name (up to 260 characters), as UTF-16;
// empty for no window.
std::wstring WindowTextW(HWND window);
std::wstring WindowClassNameW(HWND window);

// The arguments of a window's creation.
struct NativeWindowSpec {
  HWND parent = nullptr;
  const wchar_t* className = nullptr;
  const wchar_t* text = nullptr;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  HMENU menuOrId = nullptr;
  DWORD style = 0;
  DWORD exStyle = 0;
};

class WindowObject {
 public:
  // A border table: adjusts a style pair for a border code.
  using BorderRule = void (*)(int code, DWORD& style, DWORD& exStyle);

  WindowObject();
  WindowObject(const WindowObject&) = delete;
  WindowObject& operator=(const WindowObject&) = delete;
  virtual ~WindowObject();

  WindowBinding* GetBinding() const { return binding_.get(); }
  // Shares the other binding (releasing the object's own); false for null.
  bool ShareBinding(WindowBinding* other);
  WindowBinding* const* BindingSlot() const { return binding_.address(); }
  LONG BindingRefCount() const { return binding_->RefCount(); }

  INT_PTR GetProperty(const char* key) const { return binding_->Get(key); }
  // 1 when a value was replaced, 0 when the key was inserted.
  int SetProperty(const char* key, INT_PTR value) { return binding_->Set(key, value) ? 1 : 0; }
  void RemoveProperty(const char* key) { binding_->Remove(key); }
  bool HasProperty(const char* key) const { return binding_->Has(key); }
  TextArray ListPropertyKeys() const;

  // "Type" and "Name" are held as copies; the getters return new texts.
  void SetType(const char* type);
  Text GetType() const;
  void SetName(const char* name);
  Text GetName() const;

  // Creates the window (the top-level border table applies) with the binding
  // as creation parameter, without binding it: the class's procedure binds
  // it. False when the object is bound already or nothing was created.
  virtual bool CreateNative(const NativeWindowSpec& spec);

  // Dialog and MDI-child creation with the toolkit's module instance and the
  // binding as creation parameter, for the dialog levels: their procedure
  // binds the new window from it. 0 when the object is bound already.
  HWND CreateDialogFromTemplate(const DLGTEMPLATE* dialogTemplate, HWND owner, DLGPROC procedure);
  INT_PTR DialogBoxFromTemplate(const DLGTEMPLATE* dialogTemplate, HWND owner, DLGPROC procedure);
  HWND CreateDialogFromResource(const wchar_t* templateName, HWND owner, DLGPROC procedure);
  INT_PTR DialogBoxFromResource(const wchar_t* templateName, HWND owner, DLGPROC procedure);
  // `spec.parent` is the MDI client; `menuOrId` is not used.
  HWND CreateMdiChild(const NativeWindowSpec& spec);

  // Binds an existing window by subclassing it; attaching to a window that
  // is bound already shares that window's binding. False for no window.
  bool AttachHandle(HWND window);
  void DetachHandle() { binding_->Unbind(); }
  HWND GetHandle() const { return binding_->Window(); }
  static bool IsBoundWindow(HWND window);
  bool Attach(HWND window) { return AttachHandle(window); }
  HWND Handle() const { return GetHandle(); }

  // "zyStyle": each returns the previous value.
  INT_PTR AddToolkitStyle(INT_PTR bits);
  INT_PTR RemoveToolkitStyle(INT_PTR bits);
  INT_PTR ToolkitStyle() const { return GetProperty("zyStyle"); }
  INT_PTR SetToolkitStyle(INT_PTR style);

  bool Show(int command) { return ShowWindow(Handle(), command); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(Handle(), message, wParam, lParam); }
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) { return PostMessageW(Handle(), message, wParam, lParam); }
  HWND CaptureMouse() { return SetCapture(Handle()); }
  bool ReleaseMouse() { return ReleaseCapture(); }

  std::wstring ClassNameW() const { return WindowClassNameW(Handle()); }
  Text ClassName() const;

  // The window keeps its own copy of the cursor ("hCursor"); the getter
  // returns a further copy, owned by the caller.
  void SetCursor(HCURSOR cursor);
  HCURSOR GetCursor() const;

  bool IsValid() const { return IsWindow(Handle()); }
  void Close() { Send(WM_CLOSE); }
  void Focus() { SetFocus(Handle()); }
  bool HasFocus() const { return Handle() && GetFocus() == Handle(); }

  RECT ClientRect() const;
  int ClientWidth() const;
  int ClientHeight() const;
  // The window's rectangle in its parent's client coordinates (screen
  // coordinates for a top-level window).
  virtual RECT RectInParent() const;

  void DisableRedraw() { Send(WM_SETREDRAW, FALSE); }
  void EnableRedraw() { Send(WM_SETREDRAW, TRUE); }
  // For a null window these calls would repaint the whole desktop, so an
  // unbound object repaints nothing.
  void Invalidate() { InvalidateWindow(TRUE); }
  void InvalidateWithoutErase() { InvalidateWindow(FALSE); }
  void Validate() {
    if (HWND window = Handle()) ValidateRect(window, nullptr);
  }
  void Update() { UpdateWindow(Handle()); }

  // Geometry in the parent's coordinates.
  virtual bool Move(int x, int y, int width, int height, bool repaint = true);
  bool SetPosition(HWND insertAfter, int x, int y, int width, int height, UINT flags);
  RECT ScreenRect() const;
  int Left() const { return RectInParent().left; }
  bool SetLeft(int left);
  int Top() const { return RectInParent().top; }
  bool SetTop(int top);
  int Width() const;
  bool SetWidth(int width);
  int Height() const;
  bool SetHeight(int height);

  // 1 top, 2 bottom, 3 topmost, 4 not topmost; anything else, or nothing, is 1.
  bool SetZOrder(std::optional<int> position = std::nullopt);

  HWND SetParentWindow(HWND parent) { return SetParent(Handle(), parent); }
  HWND ParentWindow() const { return GetParent(Handle()); }

  // Without a value: the state; with one: sets it and returns the previous state.
  bool Visible(std::optional<bool> visible = std::nullopt);
  bool Enabled(std::optional<bool> enabled = std::nullopt);

  // Native styles; the setters redraw the frame and return the previous value.
  DWORD Style() const { return GetWindowLongW(Handle(), GWL_STYLE); }
  DWORD SetStyle(DWORD style) { return ChangeLong(GWL_STYLE, style, 0); }
  DWORD AddStyle(DWORD bits) { return ChangeLong(GWL_STYLE, bits, ~DWORD{0}); }
  DWORD RemoveStyle(DWORD bits) { return ChangeLong(GWL_STYLE, 0, ~bits); }
  DWORD ExStyle() const { return GetWindowLongW(Handle(), GWL_EXSTYLE); }
  DWORD SetExStyle(DWORD style) { return ChangeLong(GWL_EXSTYLE, style, 0); }
  DWORD AddExStyle(DWORD bits) { return ChangeLong(GWL_EXSTYLE, bits, ~DWORD{0}); }
  DWORD RemoveExStyle(DWORD bits) { return ChangeLong(GWL_EXSTYLE, 0, ~bits); }

  int TextLength() const { return GetWindowTextLengthW(Handle()); }
  std::wstring GetTextW() const { return WindowTextW(Handle()); }
  Text GetText() const;
  bool SetTextW(const wchar_t* text) { return SetWindowTextW(Handle(), text); }
  bool SetText(const char* text);

  // A message box owned by the window; the title defaults to "信息：".
  int ShowMessageBoxW(const wchar_t* text, const wchar_t* title = nullptr, UINT type = MB_OK);
  int ShowMessageBox(const char* text, const char* title = nullptr, UINT type = MB_OK);

  // Gives the window its own native font made from the font for the
  // window's DC ("hFont", owned by the window: deleted when another font is
  // set and when the window goes) and sends it with WM_SETFONT. A font
  // object that holds no font gives the null font (the system font).
  void SetFont(const FontObject& font);
  // A font object for the window's current native font; empty for the
  // system font.
  FontObject GetFont() const;

  void AcceptFiles(bool accept = true);
  bool StartTimer(UINT_PTR id, UINT milliseconds) { return SetTimer(Handle(), id, milliseconds, nullptr) != 0; }
  bool StopTimer(UINT_PTR id) { return KillTimer(Handle(), id); }

  // Hands the window's sizes to a layout object ("zyLayout"), which then
  // receives 0x402 (width, height) and 0x401 on every WM_SIZE.
  bool SetLayout(const WindowObject& layout);

  // The message's processing without the toolkit: the procedure the window
  // had before it was bound, else DefWindowProcW.
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

  // The window's native properties (apart from the property map); the text
  // forms convert the name from GBK.
  bool SetNativePropertyW(const wchar_t* name, HANDLE value) { return SetPropW(Handle(), name, value); }
  bool SetNativeProperty(const char* name, HANDLE value);
  HANDLE GetNativePropertyW(const wchar_t* name) const { return GetPropW(Handle(), name); }
  HANDLE GetNativeProperty(const char* name) const;
  HANDLE RemoveNativePropertyW(const wchar_t* name) { return RemovePropW(Handle(), name); }
  HANDLE RemoveNativeProperty(const char* name);
  // Names (an atom as "#n") and values; empty when there are none.
  TextArray NativePropertyNames() const;
  std::vector<HANDLE> NativePropertyValues() const;

  // Without a code: the stored "Border". With one: stores it, re-applies it
  // to a live window and returns the previous code. Controls and plain
  // windows use the control table; top-level classes override this.
  virtual int SetBorder(std::optional<int> code = std::nullopt) { return SetBorderWith(code, ApplyControlBorder); }
  static void ApplyControlBorder(int code, DWORD& style, DWORD& exStyle);
  static void ApplyFrameBorder(int code, DWORD& style, DWORD& exStyle);

  void SetOnPaint(Event::Paint::Handler handler) { binding_->SetEvent(Event::OnPaint, handler); }
  void SetOnLButtonDown(Event::Mouse::Handler handler) { binding_->SetEvent(Event::OnLButtonDown, handler); }
  void SetOnLButtonUp(Event::Mouse::Handler handler) { binding_->SetEvent(Event::OnLButtonUp, handler); }
  void SetOnLButtonDblClk(Event::Mouse::Handler handler) { binding_->SetEvent(Event::OnLButtonDblClk, handler); }
  void SetOnRButtonDown(Event::Mouse::Handler handler) { binding_->SetEvent(Event::OnRButtonDown, handler); }
  void SetOnRButtonUp(Event::Mouse::Handler handler) { binding_->SetEvent(Event::OnRButtonUp, handler); }
  void SetOnMouseMove(Event::Mouse::Handler handler) { binding_->SetEvent(Event::OnMouseMove, handler); }
  // The hover events switch hover tracking on ("EnlableHover").
  void SetOnMouseIn(Event::Mouse::Handler handler) { SetHoverEvent(Event::OnMouseIn, handler); }
  void SetOnMouseHover(Event::Notify::Handler handler) { SetHoverEvent(Event::OnMouseHover, handler); }
  void SetOnMouseLeave(Event::Notify::Handler handler) { SetHoverEvent(Event::OnMouseLeave, handler); }
  void SetOnSetFocus(Event::Notify::Handler handler) { binding_->SetEvent(Event::OnSetFocus, handler); }
  void SetOnKillFocus(Event::Notify::Handler handler) { binding_->SetEvent(Event::OnKillFocus, handler); }
  void SetOnKeyDown(Event::Key::Handler handler) { binding_->SetEvent(Event::OnKeyDown, handler); }
  void SetOnKeyUp(Event::Key::Handler handler) { binding_->SetEvent(Event::OnKeyUp, handler); }
  void SetOnMouseWheel(Event::Wheel::Handler handler) { binding_->SetEvent(Event::OnMouseWheel, handler); }
  void SetOnChar(Event::Char::Handler handler) { binding_->SetEvent(Event::OnChar, handler); }
  void SetOnDropFiles(Event::DropFiles::Handler handler) { binding_->SetEvent(Event::OnDropFiles, handler); }
  void SetOnTimer(Event::Timer::Handler handler) { binding_->SetEvent(Event::OnTimer, handler); }
  void SetOnWndMsg(Event::WindowMessage::Handler handler) { binding_->SetEvent(Event::OnWndMsg, handler); }

  // Gives the window a child object to own ("Controls"): it is destroyed
  // with the window or when the binding goes.
  void AdoptControl(std::unique_ptr<WindowObject> control);

 protected:
  // SetBorder with the class's border table.
  int SetBorderWith(std::optional<int> code, BorderRule rule);
  // Adjusts styles of a window about to be made by the stored "Border", if
  // one is stored (even 0).
  void ApplyStoredBorder(BorderRule rule, DWORD& style, DWORD& exStyle) const;

 private:
  DWORD ChangeLong(int index, DWORD set, DWORD keep);
  void InvalidateWindow(BOOL erase) {
    if (HWND window = Handle()) InvalidateRect(window, nullptr, erase);
  }
  template <typename... Args>
  void SetHoverEvent(const EventKey<Args...>& event, typename EventKey<Args...>::Handler handler) {
    binding_->SetEvent(event, handler);
    binding_->Set("EnlableHover", 1);
  }
  template <typename Create>
  auto CreateWithBinding(Create create) -> decltype(create(LPARAM{}));

  BindingRef binding_;
};

// What "Controls" points to: the child objects a window owns.
using OwnedControls = std::vector<std::unique_ptr<WindowObject>>;
