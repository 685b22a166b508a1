// EditControl: the system edit box ("Edit" class). Besides text access it
// takes Tab and Enter for its dialog unless it wants them itself, can
// centre its text line vertically in a taller box, and reports text changes
// as "OnTextChange".
#pragma once
#include <optional>
#include <string>
#include <utility>

#include "ui/controls/control_window.h"

namespace Event {
inline constexpr Control OnTextChange{"OnTextChange"};
}  // namespace Event

extern const WindowLevel kEditLevel;

class EditControl : public ControlWindow {
 public:
  EditControl();

  // White background; an edit with ES_WANTRETURN gets "zyStyle"
  // kDialogEnter.
  void InitEdit();
  // Defaults: empty text, 80 x 20, ES_AUTOHSCROLL | WS_TABSTOP,
  // WS_EX_CLIENTEDGE; then InitEdit. The text form converts from GBK.
  // (Creation from an XML description is not built: nothing of this
  // program describes windows in XML.)
  bool CreateEdit(const WindowObject& parent, std::optional<const wchar_t*> text = std::nullopt,
                  const ControlOptions& options = {});
  bool CreateEdit(const WindowObject& parent, const char* text, const ControlOptions& options = {});

  // With a text: replaces the whole text and returns an empty result.
  // Without: the whole text; an empty box gives an empty text, not a
  // missing one.
  std::wstring EditTextW(std::optional<const wchar_t*> text = std::nullopt) { return WindowTextW(text); }
  Text EditText(std::optional<const char*> text = std::nullopt) { return WindowText(text); }

  void Select(int start, int end = -1) { Send(EM_SETSEL, start, end); }
  std::pair<int, int> Selection() const;
  // Appends at the end and replaces the selection, both undoable.
  void AppendW(const wchar_t* text);
  void Append(const char* text);
  void ReplaceSelectionW(const wchar_t* text) { Send(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text)); }
  void ReplaceSelection(const char* text);
  // With a length: sets the limit. Returns the limit in force.
  int MaxLength(std::optional<int> length = std::nullopt);
  // The password character; empty when there is none.
  std::wstring PasswordCharW() const;
  Text PasswordChar() const;
  // Sets the password character (0, or an empty text, for none) and
  // repaints; the text form takes the first character of its text.
  void SetPasswordCharW(wchar_t character);
  void SetPasswordChar(const char* character);
  bool SetReadOnly(bool readOnly = true) { return Send(EM_SETREADONLY, readOnly); }
  void SetFormatRect(const RECT& rect) { Send(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&rect)); }

  // Without a value: whether the text line is centred vertically. With
  // one: stores it and has the frame recomputed at once; returns true.
  bool SetVerticalCenter(std::optional<bool> center = std::nullopt);

  bool CanUndo() const { return Ask(EM_CANUNDO); }
  bool Undo() { return Send(EM_UNDO); }
  void EmptyUndoBuffer() { Send(EM_EMPTYUNDOBUFFER); }
  void Cut() { Send(WM_CUT); }
  void Copy() { Send(WM_COPY); }
  void Paste() { Send(WM_PASTE); }
  void Clear() { Send(WM_CLEAR); }
  bool IsModified() const { return Ask(EM_GETMODIFY); }
  void SetModified(bool modified = true) { Send(EM_SETMODIFY, modified); }

  int FirstVisibleLine() const { return static_cast<int>(Ask(EM_GETFIRSTVISIBLELINE)); }
  // Scrolls by lines (1 when not given) and columns.
  bool ScrollLines(int lines = 1, int columns = 0) { return Send(EM_LINESCROLL, columns, lines); }
  // Scrolls so that the caret's line is the first visible one.
  void ScrollCaretLineToTop();
  int LineCount() const { return static_cast<int>(Ask(EM_GETLINECOUNT)); }
  Text LineText(int line) const;
  // Length of a line; 0 for a line that does not exist.
  int LineLength(int line) const;
  // First character of a line; -1 means the caret's line.
  int LineIndex(int line = -1) const { return static_cast<int>(Ask(EM_LINEINDEX, line)); }
  int LineFromChar(int index) const { return static_cast<int>(Ask(EM_LINEFROMCHAR, index)); }
  POINT PosFromChar(int index) const;
  int CharFromPos(int x, int y) const { return LOWORD(Ask(EM_CHARFROMPOS, 0, MAKELPARAM(x, y))); }
  int CaretLine() const { return LineFromChar(-1); }

  // The handler receives (edit, control id).
  void SetOnTextChange(Event::Control::Handler handler) { GetBinding()->SetEvent(Event::OnTextChange, handler); }

 private:
  LRESULT Ask(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageW(Handle(), message, wParam, lParam);
  }
};
