// ButtonControl: the push button ("Button" class). It shows a copy of an
// icon it owns, can be the default or cancel button of its top-level
// window, and clicks itself on Enter.
#pragma once
#include <optional>
#include <string>

#include "ui/controls/control_window.h"
#include "ui/icons/icon_object.h"

class ButtonControl : public ControlWindow {
 public:
  ButtonControl();

  // Defaults: caption "按钮", 80 x 32, WS_TABSTOP. The text form converts
  // the caption from GBK. (Creation from an XML description is not built:
  // nothing of this program describes windows in XML.)
  bool CreateButton(const WindowObject& parent, std::optional<const wchar_t*> text = std::nullopt,
                    const ControlOptions& options = {});
  bool CreateButton(const WindowObject& parent, const char* text, const ControlOptions& options = {});

  // With a text: sets the caption. Without: the caption.
  std::wstring CaptionW(std::optional<const wchar_t*> text = std::nullopt) { return WindowTextW(text); }
  Text Caption(std::optional<const char*> text = std::nullopt) { return WindowText(text); }

  // Shows a copy of the icon ("BtnIcon", owned by the button) with BS_ICON.
  void SetButtonIcon(const IconObject& icon);
  // A further copy of the button's icon, owned by the caller.
  IconObject GetButtonIcon() const;

  // Whether the button has BS_DEFPUSHBUTTON. With a value, makes it the
  // top-level window's "DefaultButton" (pressed on IDOK) or no button that,
  // and sets or clears the style.
  bool SetDefaultButton(std::optional<bool> value = std::nullopt);
  // The previous "Cancel". With a value, stores it and makes the button the
  // top-level window's "CancelButton" (pressed on IDCANCEL) or no button.
  bool SetCancelButton(std::optional<bool> value = std::nullopt);

  // The handler receives (button, control id).
  void SetOnClick(Event::Control::Handler handler) { GetBinding()->SetEvent(Event::OnClick, handler); }

 private:
  void StoreOnTopLevel(const char* key, bool thisButton);
};
