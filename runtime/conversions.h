// Conversions between the value kinds. Each receives any value as a
// TypedArg; with the by-reference flag set, the value is an array block of
// that element kind. Texts are parsed after NormaliseNumberText.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/bytes.h"
#include "runtime/text.h"
#include "runtime/typed_arg.h"

// Logical "真"/"假", numbers in decimal, date-times as "Y年M月D日" plus the
// time of day, a copy of a text, a byte set (or an array of byte, short, int
// or long) up to its first zero byte; null for other kinds and empty results.
Text ToText(const TypedArg& value);
// The text of a logical, numeric or date-time value as ToText writes it;
// empty for every other kind.
std::string ScalarText(const TypedArg& value);

int32_t ToInteger(const TypedArg& value);
uint8_t ToByteValue(const TypedArg& value);
int16_t ToShortValue(const TypedArg& value);
float ToFloatValue(const TypedArg& value);
double ToDoubleValue(const TypedArg& value);

// A text's bytes without terminator, a copy of a byte set, a scalar's
// little-endian bytes or a numeric array's elements; null otherwise.
Bytes ToBytes(const TypedArg& value);
// A byte set's (or numeric array's) bytes up to the first zero byte.
Text BytesToText(const TypedArg& value);

// The copy of a text that the number parsers read: full-width solidus and
// reverse solidus made plain, then full-width digits, signs and letters
// mapped to their one-byte forms.
std::string NormaliseNumberText(const char* text);
