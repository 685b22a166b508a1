// The program's ten global objects. They are built in the order below
// before anything else of the program runs, live for the whole run, and
// are destroyed in the same order (not C++'s reverse order) when the
// program ends.
#pragma once
#include <memory>

#include "ui/controls/button_control.h"
#include "ui/controls/edit_control.h"
#include "ui/dialogs/dialog_window.h"
#include "ui/dialogs/toolkit_app.h"
#include "ui/fonts/font_object.h"
#include "ui/icons/icon_object.h"

extern std::unique_ptr<ToolkitApp> application;   // starts the toolkit
extern std::unique_ptr<FontObject> uiFont;        // font of linkEdit and resultEdit
extern std::unique_ptr<DialogWindow> MainWindow;  // the main window
extern std::unique_ptr<IconObject> appIcon;       // the window's icon
// A plain window object bound to MainWindow's own window: the parent
// through which dialog items are looked up.
extern std::unique_ptr<WindowObject> dialogHost;
extern std::unique_ptr<ButtonControl> getLinkButton;  // dialog item 1003
extern std::unique_ptr<ButtonControl> copyButton;     // dialog item 1004
extern std::unique_ptr<EditControl> passwordEdit;     // dialog item 1001
extern std::unique_ptr<EditControl> resultEdit;       // made in code
extern std::unique_ptr<EditControl> linkEdit;         // made in code

// Builds the objects and makes their destruction the program's exit
// routine, which EndProgram runs.
void BuildProgramObjects();
