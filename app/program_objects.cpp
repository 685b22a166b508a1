#include "app/program_objects.h"

#include "runtime/program_end.h"
#include "ui/fonts/gdiplus_api.h"

std::unique_ptr<ToolkitApp> application;
std::unique_ptr<FontObject> uiFont;
std::unique_ptr<DialogWindow> MainWindow;
std::unique_ptr<IconObject> appIcon;
std::unique_ptr<WindowObject> dialogHost;
std::unique_ptr<ButtonControl> getLinkButton;
std::unique_ptr<ButtonControl> copyButton;
std::unique_ptr<EditControl> passwordEdit;
std::unique_ptr<EditControl> resultEdit;
std::unique_ptr<EditControl> linkEdit;

namespace {

void DestroyProgramObjects() {
  // The application object goes first but would shut GDI+ down while
  // uiFont still holds a GDI+ font: GDI+ is shut down after the last object.
  const ULONG_PTR gdiplus = application->ReleaseGdiplus();
  application.reset();
  uiFont.reset();
  MainWindow.reset();
  appIcon.reset();
  dialogHost.reset();
  getLinkButton.reset();
  copyButton.reset();
  passwordEdit.reset();
  resultEdit.reset();
  linkEdit.reset();
  if (gdiplus) Gdiplus::GdiplusShutdown(gdiplus);
}

}  // namespace

void BuildProgramObjects() {
  application = std::make_unique<ToolkitApp>();
  uiFont = std::make_unique<FontObject>();
  MainWindow = std::make_unique<DialogWindow>();
  appIcon = std::make_unique<IconObject>();
  dialogHost = std::make_unique<WindowObject>();
  getLinkButton = std::make_unique<ButtonControl>();
  copyButton = std::make_unique<ButtonControl>();
  passwordEdit = std::make_unique<EditControl>();
  resultEdit = std::make_unique<EditControl>();
  linkEdit = std::make_unique<EditControl>();
  SetProgramExitRoutine(DestroyProgramObjects);
}
