// The program from its start to its end: the main window, MainWindow, shown
// modally from dialog template 1 until it is closed. Its two commands are in
// app/main_window_commands.h.
#pragma once
#include <windows.h>

#include "app/window_settings.h"

// The whole run: the runtime's start, the global objects, StartProgram, and
// the program's end with exit code 0. `settings` say what the window reaches
// on the network; the shipped program gives the defaults.
[[noreturn]] void RunProgram(WindowSettings settings);

// The start routine: starts the toolkit, makes uiFont and shows MainWindow;
// returns when the window has closed.
void StartProgram();

// MainWindow's "OnCreate" handler: the icon, the template's buttons and
// password box bound by id, the two multi-line edits made in code.
INT_PTR CALLBACK BuildMainWindow(HWND window);
