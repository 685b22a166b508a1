// The edit box's operations.
#include "ui/controls/edit_control.h"

#include <algorithm>

#include "runtime/codepage.h"

EditControl::EditControl() {
  GetBinding()->PutLevel(kEditLevel);
  SetType("编辑框");
}

void EditControl::InitEdit() {
  SetBackColor(RGB(255, 255, 255));
  if (Style() & ES_WANTRETURN) SetToolkitStyle(ToolkitStyle::kDialogEnter);
}

bool EditControl::CreateEdit(const WindowObject& parent, std::optional<const wchar_t*> text,
                             const ControlOptions& options) {
  if (!CreateWithDefaults(parent, text.value_or(L""), options,
                          {L"Edit", 80, 20, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE}))
    return false;
  InitEdit();
  return true;
}

bool EditControl::CreateEdit(const WindowObject& parent, const char* text, const ControlOptions& options) {
  return CreateEdit(parent, GbkToWide(TextView(text)).c_str(), options);
}

std::pair<int, int> EditControl::Selection() const {
  DWORD start = 0, end = 0;
  Ask(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

void EditControl::AppendW(const wchar_t* text) {
  Select(-2, -1);
  ReplaceSelectionW(text);
}

void EditControl::Append(const char* text) { AppendW(GbkToWide(TextView(text)).c_str()); }

void EditControl::ReplaceSelection(const char* text) { ReplaceSelectionW(GbkToWide(TextView(text)).c_str()); }

int EditControl::MaxLength(std::optional<int> length) {
  if (length) Send(EM_LIMITTEXT, *length);
  return static_cast<int>(Ask(EM_GETLIMITTEXT));
}

std::wstring EditControl::PasswordCharW() const {
  auto character = static_cast<wchar_t>(Ask(EM_GETPASSWORDCHAR));
  return character ? std::wstring(1, character) : std::wstring();
}

Text EditControl::PasswordChar() const { return Text::Copy(WideToGbk(PasswordCharW())); }

void EditControl::SetPasswordCharW(wchar_t character) {
  Send(EM_SETPASSWORDCHAR, character);
  Invalidate();
}

void EditControl::SetPasswordChar(const char* character) {
  std::wstring wide = GbkToWide(TextView(character));
  SetPasswordCharW(wide.empty() ? L'\0' : wide[0]);
}

// The frame is recomputed without moving the edit in the sibling order,
// which is its dialog's tab order.
bool EditControl::SetVerticalCenter(std::optional<bool> center) {
  if (!center) return GetProperty("vCenter");
  SetProperty("vCenter", *center);
  if (HWND window = Handle())
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOOWNERZORDER | SWP_NOZORDER | SWP_NOSIZE | SWP_NOMOVE | SWP_FRAMECHANGED);
  return true;
}

void EditControl::ScrollCaretLineToTop() {
  DWORD caret = 0;
  Ask(EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  ScrollLines(LineFromChar(static_cast<int>(caret)) - FirstVisibleLine());
}

// EM_GETLINE reads the buffer's size from its first character; a line
// longer than that word can say is cut there.
Text EditControl::LineText(int line) const {
  auto index = Ask(EM_LINEINDEX, line);
  if (index < 0) return {};
  int length = std::min(static_cast<int>(Ask(EM_LINELENGTH, index)), 0xFFFF);
  std::wstring buffer(std::max(length, 1), L'\0');
  buffer[0] = static_cast<wchar_t>(length);
  buffer.resize(Ask(EM_GETLINE, line, reinterpret_cast<LPARAM>(buffer.data())));
  return Text::Copy(WideToGbk(buffer));
}

int EditControl::LineLength(int line) const {
  auto index = Ask(EM_LINEINDEX, line);
  return index < 0 ? 0 : static_cast<int>(Ask(EM_LINELENGTH, index));
}

POINT EditControl::PosFromChar(int index) const {
  auto position = static_cast<DWORD>(Ask(EM_POSFROMCHAR, index));
  return {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
}
