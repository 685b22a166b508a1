// The events of top-level windows and dialogs, with the argument lists
// their handlers receive.
#pragma once
#include "ui/core/event_callback.h"

class WindowBinding;

namespace Event {
using Position = EventKey<HWND, INT_PTR, INT_PTR>;                  // (window, x, y) or (window, width, height)
using MenuItem = EventKey<HWND, UINT_PTR>;                          // (window, command id)
using MenuPopup = EventKey<HWND, HMENU, INT_PTR, INT_PTR>;          // (window, menu, position, system-menu flag)
using MenuSelect = EventKey<HWND, HMENU, INT_PTR, INT_PTR>;         // (window, menu, item, flags)
using SysCommand = EventKey<HWND, UINT_PTR, INT_PTR, INT_PTR>;      // (window, command, x, y)
using TrayEvent = EventKey<HWND, INT_PTR>;                          // (window, tray event code)
// The creation hook of windows described in XML: (binding, window, "XmlNode").
using XmlCreate = EventKey<WindowBinding*, HWND, INT_PTR>;

inline constexpr XmlCreate XmlresOnCreate{"XmlresOnCreate"};
inline constexpr Notify OnCreate{"OnCreate"};
// A non-zero result keeps the window open.
inline constexpr Notify OnClose{"OnClose"};
inline constexpr MenuItem OnMenuItemClick{"OnMenuItemClick"};
inline constexpr Notify OnDestory{"OnDestory"};
inline constexpr Position OnMove{"OnMove"};
inline constexpr Position OnSize{"OnSize"};
inline constexpr Notify OnActivate{"OnActivate"};
inline constexpr Notify OnUnActivate{"OnUnActivate"};
inline constexpr Notify OnFirstActivate{"OnFirstActivate"};
inline constexpr Notify OnShow{"OnShow"};
inline constexpr Notify OnHide{"OnHide"};
inline constexpr TrayEvent OnNotifIcon{"OnNotifIcon"};
inline constexpr MenuPopup OnInitMenuPopup{"OnInitMenuPopup"};
inline constexpr MenuSelect OnMenuSelect{"OnMenuSelect"};
// A non-zero result refuses the close command of the system menu.
inline constexpr Notify OnUserClose{"OnUserClose"};
inline constexpr SysCommand OnSysCommand{"OnSysCommand"};
}  // namespace Event
