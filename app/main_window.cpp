#include "app/main_window.h"

#include <span>
#include <utility>

#include "app/app_icon.h"
#include "app/main_window_commands.h"
#include "app/program_objects.h"
#include "http/request_object_release.h"
#include "runtime/bytes.h"
#include "runtime/program_end.h"
#include "runtime/program_start.h"

namespace {

constexpr int kMainWindowTemplate = 1;
constexpr int kPasswordEditId = 1001;
constexpr int kGetLinkButtonId = 1003;
constexpr int kCopyButtonId = 1004;
// WS_CHILD, WS_VISIBLE, WS_CLIPSIBLINGS, WS_TABSTOP, ES_WANTRETURN,
// ES_AUTOVSCROLL, ES_MULTILINE; with WS_EX_CLIENTEDGE.
constexpr DWORD kMultiLineStyle = 0x54011044;
constexpr DWORD kMultiLineExStyle = WS_EX_CLIENTEDGE;
// Outside the positions 1 to 4: the top of the siblings, above the group box.
constexpr int kTopOfSiblings = 0;

// An edit made in code in the dialog's client area, in uiFont.
void MakeMultiLineEdit(EditControl& edit, int x, int y, int width, int height) {
  edit.CreateEdit(*MainWindow, "",
                  {.x = x, .y = y, .width = width, .height = height, .style = kMultiLineStyle,
                   .exStyle = kMultiLineExStyle});
  edit.SetFont(*uiFont);
  edit.SetZOrder(kTopOfSiblings);
}

}  // namespace

void RunProgram(WindowSettings settings) {
  StartRuntime();
  BuildProgramObjects();
  UseWindowSettings(std::move(settings));
  StartProgram();
  ReleaseKeptRequestObjects();  // while COM is initialised, which it stays until the process ends
  EndProgram(0);
}

void StartProgram() {
  application->InitToolkit();
  uiFont->CreateFontFromName("Segoe UI", 12.0f, 0, Gdiplus::UnitWorld);
  MainWindow->SetOnCreate(BuildMainWindow);
  MainWindow->ShowModalFromResource(std::nullopt, kMainWindowTemplate, static_cast<const wchar_t*>(nullptr));
}

INT_PTR CALLBACK BuildMainWindow(HWND) {
  appIcon->LoadIconFromBytes(std::span(Bytes::DataOf(AppIconFile), Bytes::SizeOf(AppIconFile)));
  MainWindow->SetIcon(*appIcon);
  MainWindow->SetOnWndMsg(OnMainWindowMessage);
  dialogHost->Attach(MainWindow->GetHandle());
  getLinkButton->AttachById(*dialogHost, kGetLinkButtonId);
  getLinkButton->SetOnClick(OnGetLinkClick);
  copyButton->AttachById(*dialogHost, kCopyButtonId);
  copyButton->SetOnClick(OnCopyClick);
  passwordEdit->AttachById(*dialogHost, kPasswordEditId);
  MakeMultiLineEdit(*resultEdit, 26, 137, 351, 105);
  MakeMultiLineEdit(*linkEdit, 26, 29, 351, 50);
  return 0;
}
