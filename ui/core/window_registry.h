// WindowRegistry: the process-wide map from native window handle to the
// binding of the objects attached to that window. A window is bound exactly
// while it has an entry. The registry holds no reference of its own.
#pragma once
#include <windows.h>

#include "ui/core/property_map.h"

class WindowBinding;

// Integer keys and values, made on first use and kept to the end of the
// process, so objects destroyed at exit can still unregister.
PropertyMap& WindowRegistry();

WindowBinding* FindBinding(HWND window);
void RegisterBinding(HWND window, WindowBinding* binding);
void UnregisterWindow(HWND window);
