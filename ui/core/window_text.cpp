// Class name, text, message boxes and native properties of a window object.
// Texts cross into the window as UTF-16 converted from GBK.
#include <cstdio>
#include <string>

#include "runtime/codepage.h"
#include "runtime/message_box.h"
#include "ui/core/window_object.h"

std::wstring WindowClassNameW(HWND window) {
  wchar_t name[260];
  int length = GetClassNameW(window, name, 260);
  return std::wstring(name, length > 0 ? length : 0);
}

std::wstring WindowTextW(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
  return text;
}

Text WindowObject::ClassName() const { return Text::Copy(WideToGbk(ClassNameW())); }

Text WindowObject::GetText() const { return Text::Copy(WideToGbk(GetTextW())); }

bool WindowObject::SetText(const char* text) { return SetTextW(GbkToWide(TextView(text)).c_str()); }

int WindowObject::ShowMessageBoxW(const wchar_t* text, const wchar_t* title, UINT type) {
  return MessageBoxW(Handle(), text, title ? title : L"信息：", type);
}

int WindowObject::ShowMessageBox(const char* text, const char* title, UINT type) {
  return RuntimeMessageBox(Handle(), text, title ? title : "信息：", type);
}

bool WindowObject::SetNativeProperty(const char* name, HANDLE value) {
  return SetNativePropertyW(GbkToWide(TextView(name)).c_str(), value);
}

HANDLE WindowObject::GetNativeProperty(const char* name) const {
  return GetNativePropertyW(GbkToWide(TextView(name)).c_str());
}

HANDLE WindowObject::RemoveNativeProperty(const char* name) {
  return RemoveNativePropertyW(GbkToWide(TextView(name)).c_str());
}

namespace {

template <typename Visit>
BOOL CALLBACK VisitNativeProperty(HWND, LPWSTR name, HANDLE value, ULONG_PTR visit) noexcept {
  try {
    (*reinterpret_cast<Visit*>(visit))(name, value);
    return TRUE;
  } catch (...) {
    return FALSE;
  }
}

template <typename Visit>
void ForEachNativeProperty(HWND window, Visit visit) {
  if (window) EnumPropsExW(window, VisitNativeProperty<Visit>, reinterpret_cast<LPARAM>(&visit));
}

}  // namespace

TextArray WindowObject::NativePropertyNames() const {
  std::vector<Text> names;
  ForEachNativeProperty(Handle(), [&names](const wchar_t* name, HANDLE) {
    char atom[8];
    if (IS_INTRESOURCE(name)) std::snprintf(atom, sizeof atom, "#%u", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(name)));
    names.push_back(IS_INTRESOURCE(name) ? Text::Copy(atom) : Text::Copy(WideToGbk(name)));
  });
  return TextArray::From(std::move(names));
}

std::vector<HANDLE> WindowObject::NativePropertyValues() const {
  std::vector<HANDLE> values;
  ForEachNativeProperty(Handle(), [&values](const wchar_t*, HANDLE value) { values.push_back(value); });
  return values;
}
