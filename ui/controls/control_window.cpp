// Creation and binding of controls, their region and their text.
#include "ui/controls/control_window.h"

#include <cstring>

#include "runtime/codepage.h"
#include "ui/core/toolkit_instance.h"

int NextAutoId() {
  static volatile LONG lastId = 0;
  return InterlockedDecrement(&lastId);
}

// Both control stages at once: the colour stage lies on the region stage
// and starts with the default colours.
ControlWindow::ControlWindow() {
  GetBinding()->PutLevel(kControlWindowLevel);
  ResetColors();
}

HWND ControlWindow::CreateChildWindow(const NativeWindowSpec& spec) {
  if (GetHandle()) return nullptr;
  DWORD style = spec.style, exStyle = spec.exStyle;
  ApplyStoredBorder(ApplyControlBorder, style, exStyle);
  style |= WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  return CreateWindowExW(exStyle, spec.className, spec.text, style, spec.x, spec.y, spec.width, spec.height,
                         spec.parent, spec.menuOrId, ToolkitInstance(), GetBinding());
}

bool ControlWindow::CreateNative(const NativeWindowSpec& spec) { return CreateChildWindow(spec) != nullptr; }

namespace {
void SendGuiFont(HWND window) {
  SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
}
}  // namespace

bool ControlWindow::CreateControl(const NativeWindowSpec& spec) {
  if (!AttachHandle(CreateChildWindow(spec))) return false;
  SendGuiFont(Handle());
  return true;
}

bool ControlWindow::CreateWithDefaults(const WindowObject& parent, const wchar_t* text, const ControlOptions& options,
                                       const ControlDefaults& defaults) {
  int id = options.id ? *options.id : NextAutoId();
  return CreateControl({.parent = parent.GetHandle(),
                        .className = defaults.className,
                        .text = text,
                        .x = options.x.value_or(0),
                        .y = options.y.value_or(0),
                        .width = options.width.value_or(defaults.width),
                        .height = options.height.value_or(defaults.height),
                        .menuOrId = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        .style = options.style.value_or(defaults.style),
                        .exStyle = options.exStyle.value_or(defaults.exStyle)});
}

bool ControlWindow::AttachById(const WindowObject& parent, int id, bool setFont) {
  HWND item = GetDlgItem(parent.GetHandle(), id);
  if (setFont && item) SendGuiFont(item);
  return AttachHandle(item);
}

void ControlWindow::SetRegion(HRGN region) {
  GetBinding()->FreeHandle<HRGN>("WindowhRgn", DeleteObject);
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  if (!region || CombineRgn(copy, region, nullptr, RGN_COPY) == ERROR) {
    DeleteObject(copy);
    return;
  }
  SetProperty("WindowhRgn", reinterpret_cast<INT_PTR>(copy));
  Invalidate();
}

std::wstring ControlWindow::WindowTextW(std::optional<const wchar_t*> text) {
  if (!text) return GetTextW();
  SetTextW(*text ? *text : L"");
  return {};
}

Text ControlWindow::WindowText(std::optional<const char*> text) {
  if (text) {
    SetText(*text);
    return {};
  }
  std::string bytes = WideToGbk(GetTextW());
  Text whole = Text::Allocate(bytes.size());  // a block even when empty
  std::memcpy(whole.data(), bytes.data(), bytes.size());
  return whole;
}
