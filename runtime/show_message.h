// The program's prompt: a message box for a value of any kind.
#pragma once
#include <optional>

#include "runtime/typed_arg.h"

// Shows `text` (texts as they are, logicals, numbers and date-times as
// ToText writes them, nothing for other kinds or by-reference values) with
// the given box flags (default MB_OK) and title (default "信息"; a given null
// title is an empty caption). The owner is used only when it is an int
// holding a window handle. Returns the button pressed, 0-based (OK 0,
// Cancel 1, Abort 2, Retry 3, Ignore 4, Yes 5, No 6).
int ShowMessage(const TypedArg& text, std::optional<int> flags = std::nullopt,
                std::optional<const char*> title = std::nullopt, const TypedArg& owner = TypedArg::Absent());
