// Event handlers: plain CALLBACK function addresses stored in a window's
// property map under an event key ("OnClick", ...). Every argument and the
// result are pointer-sized, so a handle or pointer fits on both builds; 0 in
// the map means no handler. An EventKey names the key together with the
// handler's argument list, so handlers are stored and called with the types
// their event defines.
#pragma once
#include <windows.h>

#include <type_traits>

template <typename... Args>
struct EventKey {
  static_assert(((sizeof(Args) == sizeof(INT_PTR)) && ...), "event arguments are pointer-sized");
  using Handler = INT_PTR(CALLBACK*)(Args...);
  const char* name;
};

// The event shapes of the window object; derived levels add their own keys.
namespace Event {
using Notify = EventKey<HWND>;                              // (window)
using Mouse = EventKey<HWND, INT_PTR, INT_PTR, INT_PTR>;    // (window, x, y, ModifierKeys)
using Key = EventKey<HWND, WPARAM, INT_PTR>;                // (window, virtual key, ModifierKeys)
using Wheel = EventKey<HWND, INT_PTR, INT_PTR>;             // (window, wheel delta, ModifierKeys)
using Char = EventKey<HWND, WPARAM>;                        // (window, character code)
using Timer = EventKey<HWND, UINT_PTR>;                     // (window, timer id)
using DropFiles = EventKey<HWND, const char*>;              // (window, paths each followed by CR LF)
using Paint = EventKey<HWND, HDC, INT_PTR, INT_PTR, INT_PTR, INT_PTR>;  // (window, DC, left, top, right, bottom)
// (window, message, wParam, lParam, handled): setting *handled to non-zero
// makes the result the message's result and skips all further processing.
using WindowMessage = EventKey<HWND, UINT_PTR, WPARAM, LPARAM, INT_PTR*>;

inline constexpr WindowMessage OnWndMsg{"OnWndMsg"};
inline constexpr Paint OnPaint{"OnPaint"};
inline constexpr Mouse OnLButtonDown{"OnLButtonDown"};
inline constexpr Mouse OnLButtonUp{"OnLButtonUp"};
inline constexpr Mouse OnLButtonDblClk{"OnLButtonDblClk"};
inline constexpr Mouse OnRButtonDown{"OnRButtonDown"};
inline constexpr Mouse OnRButtonUp{"OnRButtonUp"};
inline constexpr Mouse OnMouseMove{"OnMouseMove"};
inline constexpr Mouse OnMouseIn{"OnMouseIn"};
inline constexpr Notify OnMouseHover{"OnMouseHover"};
inline constexpr Notify OnMouseLeave{"OnMouseLeave"};
inline constexpr Notify OnSetFocus{"OnSetFocus"};
inline constexpr Notify OnKillFocus{"OnKillFocus"};
inline constexpr Key OnKeyDown{"OnKeyDown"};
inline constexpr Key OnKeyUp{"OnKeyUp"};
inline constexpr Wheel OnMouseWheel{"OnMouseWheel"};
inline constexpr Char OnChar{"OnChar"};
inline constexpr DropFiles OnDropFiles{"OnDropFiles"};
inline constexpr Timer OnTimer{"OnTimer"};
}  // namespace Event

// 1 Ctrl, 2 Shift, 4 Alt, or-ed, as the keys stand at the time of the call.
INT_PTR ModifierKeys();
