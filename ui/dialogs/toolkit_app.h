// ToolkitApp: the application-wide object that starts the toolkit (window
// registry, module instance, GDI+, ActiveX control hosting, common
// controls) and runs the toolkit's own message loop.
#pragma once
#include <windows.h>

#include <optional>
#include <utility>

class ToolkitApp {
 public:
  // The ATL mode that initialises ActiveX control hosting; any other skips it.
  static constexpr int kHostActiveX = 1;
  static constexpr DWORD kAllControlClasses = 0xFFFF;

  ToolkitApp() = default;
  ToolkitApp(const ToolkitApp&) = delete;
  ToolkitApp& operator=(const ToolkitApp&) = delete;
  // Shuts GDI+ down when this object started it, so the object must outlive
  // every GDI+ font and graphics of the program.
  ~ToolkitApp();

  // Every option may be left out: the program's own module, control hosting,
  // all common-control classes. GDI+ is started once per object.
  void InitToolkit(std::optional<HINSTANCE> instance = std::nullopt, std::optional<int> atlMode = std::nullopt,
                   std::optional<DWORD> controlClasses = std::nullopt);
  // Hands the GDI+ shut-down to the caller: the token this object started
  // GDI+ with (0 when it did not); its destructor then leaves GDI+ running.
  // For a program that destroys this object before its fonts.
  ULONG_PTR ReleaseGdiplus() { return std::exchange(gdiplusToken_, 0); }

  // Runs until WM_QUIT (its exit code is returned) or until the message
  // queue fails (-1). Keys reach the dialog manager by the "zyStyle" bits
  // of the window they are addressed to.
  int RunMessageLoop();

 private:
  ULONG_PTR gdiplusToken_ = 0;
};

// Whether the loop lets the dialog manager see this message: mouse messages
// always; key down and up of the keys the "zyStyle" bits (ToolkitStyle)
// leave to it; no other key.
bool ReachesDialogManager(const MSG& message, INT_PTR toolkitStyle);
