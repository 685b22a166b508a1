// The one path by which the runtime calls a member of an automation object
// by name. The get/put/call operations (runtime/automation_calls.h) are thin
// layers over it.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <span>

#include "runtime/automation_object.h"
#include "runtime/bytes.h"
#include "runtime/text.h"
#include "runtime/typed_arg.h"
#include "runtime/variant_cell.h"

// The member arguments of a call, in the member's own order: a braced list
// of TypedArgs, or a span of them. Trailing absent arguments (type code 0)
// are dropped before the call, so callers may always pass a fixed number.
//
// Argument kinds (the value word of each TypedArg):
// - object (ArgOf(holder)): the holder's address;
// - variant (ArgOf(cell)): the cell's address;
// - text, byte set, numbers, logical, date-time, routine: the value itself;
// - absent in the middle: passed as "parameter not given";
// - by reference (code | ValueType::ByRef, see RefTo): the address of the
//   caller's variable: Text* for text, Bytes* for a byte set, bool* for a
//   logical, int32_t* for int, uint8_t*, int16_t*, int64_t*, float*, double*
//   (double and date-time) and uint32_t* (routine) for the others,
//   AutomationObject* for an object, VARIANT* for a variant.
//   When the member declares the parameter by reference the member can
//   update the variable; otherwise its current value is passed. A variant
//   variable is always passed by reference, a byte set always by value.
class ArgList : public std::span<const TypedArg> {
 public:
  ArgList() = default;
  ArgList(std::initializer_list<TypedArg> args) : span(args.begin(), args.size()) {}
  ArgList(std::span<const TypedArg> args) : span(args) {}
};

// Calls member `name` of the holder's object with `flags` (DISPATCH_METHOD,
// DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT):
// 1. an empty holder fails with E_POINTER; the object must offer IDispatch
//    and know the name;
// 2. when the object describes its type, the member's declaration decides
//    the real call kind (a method call of a property reads it, a property
//    read of a method calls it, a put of an object into a by-reference
//    property becomes DISPATCH_PROPERTYPUTREF) and which parameters are by
//    reference;
// 3. the arguments are packed last-first; a put names its last argument
//    (the new value) DISPID_PROPERTYPUT;
// 4. after the call, by-reference text and logical variables and object
//    holders receive what the member left in them.
// Every step's code goes to holder.lastResult; the result is the last one.
// `result`, when given, receives the member's value (VT_EMPTY on failure).
HRESULT InvokeByName(AutomationObject& holder, const char* name, WORD flags, ArgList args, VARIANT* result);

// Typed builders of arguments (see ArgList for what each kind passes).
inline TypedArg ArgOf(const char* text) { return TypedArg::OfText(text); }
inline TypedArg ArgOf(const Text& text) { return TypedArg::OfText(text.get()); }
inline TypedArg ArgOf(const Bytes& bytes) { return TypedArg::OfBytes(bytes.block()); }
inline TypedArg ArgOf(bool value) { return TypedArg::Logical(value); }
inline TypedArg ArgOf(int32_t value) { return TypedArg::Int(value); }
inline TypedArg ArgOf(double value) { return TypedArg::Double(value); }
inline TypedArg ArgOf(AutomationObject& holder) {
  return {reinterpret_cast<UINT_PTR>(&holder), 0, ValueType::Object};
}
inline TypedArg ArgOf(VARIANT& cell) { return {reinterpret_cast<UINT_PTR>(&cell), 0, ValueType::Variant}; }
inline TypedArg ArgOf(VariantCell& cell) { return ArgOf(cell.get()); }

inline TypedArg RefTo(Text& variable) { return TypedArg::Reference(ValueType::Text, &variable); }
inline TypedArg RefTo(Bytes& variable) { return TypedArg::Reference(ValueType::Bytes, &variable); }
inline TypedArg RefTo(bool& variable) { return TypedArg::Reference(ValueType::Logical, &variable); }
inline TypedArg RefTo(int32_t& variable) { return TypedArg::Reference(ValueType::Int, &variable); }
inline TypedArg RefTo(double& variable) { return TypedArg::Reference(ValueType::Double, &variable); }
inline TypedArg RefTo(VARIANT& cell) { return TypedArg::Reference(ValueType::Variant, &cell); }
inline TypedArg RefTo(VariantCell& cell) { return RefTo(cell.get()); }
inline TypedArg RefTo(AutomationObject& holder) { return TypedArg::Reference(ValueType::Object, &holder); }
