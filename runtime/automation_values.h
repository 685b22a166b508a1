// Conversions between runtime values and automation values (BSTR, SAFEARRAY,
// VARIANT), shared by the call core and the variant-cell operations. Texts
// are converted with code page 936.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include "runtime/bytes.h"
#include "runtime/text.h"
#include "runtime/typed_arg.h"

// A new string; null for a null text, an empty string for an empty one.
BSTR TextToBstr(const char* text);
// A new text; null for a null string, an empty (non-null) text for an empty one.
Text BstrToText(BSTR text);

// A new one-dimensional VT_UI1 array of the byte set's bytes (lower bound 0;
// no elements for an empty set). Null only when the platform has no memory.
SAFEARRAY* BytesToSafeArray(const void* bytesBlock);
// All elements of the array (every dimension) as bytes; null when empty.
Bytes SafeArrayToBytes(SAFEARRAY* array);

// How an object argument is put into a cell.
enum class ObjectCell {
  Dispatch,  // VT_DISPATCH when the object has IDispatch, VT_UNKNOWN otherwise
  Unknown,   // always VT_UNKNOWN
};

// Fills `cell` (which must be empty) with a by-value argument: every kind of
// TypedArg except by-reference variables. The cell owns what it holds (an
// object gets a reference of its own), so VariantClear undoes it. An absent
// argument becomes the "parameter not given" error value.
void ValueToVariant(const TypedArg& value, VARIANT& cell, ObjectCell objectCell);

// The by-value argument holding the current value of a by-reference variable.
TypedArg CurrentValue(const TypedArg& reference);

// The automation type of a runtime kind (VT_EMPTY for kinds without one).
VARTYPE VariantTypeOf(uint32_t kind);
