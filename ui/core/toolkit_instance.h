// The module instance with which the toolkit creates windows and dialogs:
// the program's own module unless the toolkit's start-up names another.
#pragma once
#include <windows.h>

HINSTANCE ToolkitInstance();
void SetToolkitInstance(HINSTANCE instance);
