// window-screenshot PNG SHARE_LINK PASSWORD PROGRAM [ARGUMENTS...]
// Starts the window program (a Linux path, e.g. zorvo-link-test.exe with its
// arguments), resolves the share as a person would (types the link and the
// password, clicks "一键获取"), places the success box beside the window and
// saves a picture of both as PNG (a Linux path), then closes the box and the
// window. Used by scripts/screenshot.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "runtime/codepage.h"
#include "support/linux_process.h"
#include "support/window_driver.h"
#include "support/windows_process.h"

namespace {

constexpr int kGetLinkButton = 1003;
constexpr int kPasswordEdit = 1001;
constexpr wchar_t kTitle[] = L"Zorvo云直链获取 V1.0 by Quenlit";
constexpr int kMargin = 12;

bool SavePng(const RECT& area, const std::string& path) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);

  using namespace Gdiplus;
  GdiplusStartupInput input;
  ULONG_PTR token = 0;
  GdiplusStartup(&token, &input, nullptr);
  bool saved = false;
  UINT count = 0, size = 0;
  GetImageEncodersSize(&count, &size);
  std::string buffer(size, '\0');
  auto* encoders = reinterpret_cast<ImageCodecInfo*>(buffer.data());
  GetImageEncoders(count, size, encoders);
  const ImageCodecInfo* png = std::find_if(encoders, encoders + count, [](const ImageCodecInfo& codec) {
    return std::wstring(codec.MimeType) == L"image/png";
  });
  if (png != encoders + count) {
    GpBitmap* image = nullptr;
    DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image);
    saved = image && DllExports::GdipSaveImageToFile(image, GbkToWide(path).c_str(), &png->Clsid, nullptr) == Ok;
    if (image) DllExports::GdipDisposeImage(image);
  }
  GdiplusShutdown(token);
  DeleteObject(bitmap);
  return saved;
}

int Fail(const char* what) {
  std::fprintf(stderr, "window-screenshot: %s\n", what);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: window-screenshot PNG SHARE_LINK PASSWORD PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  std::string commandLine = "\"" + WindowsPathOf(argv[4]) + "\"";
  for (int i = 5; i < argc; ++i) commandLine += std::string(" \"") + argv[i] + "\"";
  RunningProgram program(commandLine);
  HWND window = WaitForWindow(program.processId(), [](HWND w) { return WindowText(w) == kTitle; });
  if (!window) return Fail("the window did not appear");
  HWND linkEdit = ChildWindowFromPointEx(window, {30, 33}, CWP_SKIPINVISIBLE);  // the share link box, made in code
  if (!SetWindowTextTo(linkEdit, GbkToWide(argv[2])) ||
      !SetWindowTextTo(GetDlgItem(window, kPasswordEdit), GbkToWide(argv[3])) || !ClickButton(window, kGetLinkButton)) {
    return Fail("the window did not take the share");
  }
  std::optional<MessageBoxView> box = WaitForMessageBox(program.processId());
  if (!box) return Fail("no message box");

  // The box to the right of the window, both tops level.
  RECT windowRect, boxRect;
  GetWindowRect(window, &windowRect);
  GetWindowRect(box->window, &boxRect);
  SetWindowPos(box->window, nullptr, windowRect.right + kMargin, windowRect.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  WaitUntil([&] {
    RECT moved;
    return GetWindowRect(box->window, &moved) && moved.left == windowRect.right + kMargin;
  });
  Sleep(500);  // both repainted
  GetWindowRect(box->window, &boxRect);
  const RECT area{windowRect.left - kMargin, windowRect.top - kMargin,
                  std::max(windowRect.right, boxRect.right) + kMargin,
                  std::max(windowRect.bottom, boxRect.bottom) + kMargin};
  const bool saved = SavePng(area, WindowsPathOf(argv[1]));

  PressMessageBoxButton(*box, IDOK);
  PostMessageW(window, WM_CLOSE, 0, 0);
  program.WaitForExit(kWindowWaitMs);
  return saved ? 0 : Fail("the picture was not saved");
}
