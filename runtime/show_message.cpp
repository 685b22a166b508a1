#include "runtime/show_message.h"

#include <string>

#include "runtime/conversions.h"
#include "runtime/message_box.h"

namespace {

std::string MessageText(const TypedArg& value) {
  if (value.type & ValueType::ByRef) return {};
  if (value.type == ValueType::Text) return value.Pointer<const char>() ? value.Pointer<const char>() : "";
  return ScalarText(value);
}

}  // namespace

int ShowMessage(const TypedArg& text, std::optional<int> flags, std::optional<const char*> title,
                const TypedArg& owner) {
  HWND ownerWindow = owner.type == ValueType::Int ? reinterpret_cast<HWND>(owner.value) : nullptr;
  const char* caption = title ? *title : "信息";
  return RuntimeMessageBox(ownerWindow, MessageText(text).c_str(), caption, static_cast<UINT>(flags.value_or(MB_OK))) -
         1;
}
