// The raw bytes behind a value, shared by the conversions and the byte-set
// commands.
#pragma once
#include <cstdint>
#include <string_view>

#include "runtime/text.h"
#include "runtime/typed_arg.h"

// A scalar's little-endian bytes (kept in `scalar`), a text's bytes without
// terminator, a byte set's data or a numeric array's elements; empty for
// every other kind.
std::string_view ValueBytes(const TypedArg& value, uint64_t& scalar);
// The bytes up to the first zero byte as a new text; null when empty.
Text TextBeforeZero(std::string_view bytes);
