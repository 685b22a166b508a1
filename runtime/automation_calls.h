// Getting and putting properties and calling methods of automation objects
// by name. Every operation goes through InvokeByName (runtime/invoke_by_name.h,
// which also describes the arguments and their builders ArgOf and RefTo):
//
//   AutomationObject regex;
//   CreateObject(regex, "VBScript.RegExp");
//   PutProperty(regex, "Pattern", {ArgOf("a+")});
//   AutomationObject matches = CallMethodObject(regex, "Execute", {ArgOf(subject)});
//   double count = GetPropertyNumber(matches, "Count");
//
// Nothing is ever shown or raised: a failure (an empty holder, an unknown
// name, a failed call) gives the empty result named below and leaves its
// code in holder.lastResult. Every returned text, byte set, holder and cell
// is new and owned by the caller.
#pragma once
#include "runtime/automation_object.h"
#include "runtime/invoke_by_name.h"
#include "runtime/text.h"
#include "runtime/variant_cell.h"

// Property reads (DISPATCH_PROPERTYGET); `args` are indexes, when the
// property takes any.
// The value as text: null on failure or when it has no text form.
Text GetPropertyText(AutomationObject& holder, const char* name, ArgList args = {});
// The value as a number: only numeric, currency, date and logical values
// convert (a logical true is -1.0); strings and everything else give 0.0.
double GetPropertyNumber(AutomationObject& holder, const char* name, ArgList args = {});
// A new holder of the object value; empty when the value is no object.
AutomationObject GetPropertyObject(AutomationObject& holder, const char* name, ArgList args = {});
// A new cell with the value; VT_EMPTY on failure.
VariantCell GetPropertyVariant(AutomationObject& holder, const char* name, ArgList args = {});

// Property write (DISPATCH_PROPERTYPUT, or DISPATCH_PROPERTYPUTREF for an
// object into a by-reference property): the last argument is the new
// value, any before it are indexes.
void PutProperty(AutomationObject& holder, const char* name, ArgList args);

// Method calls (DISPATCH_METHOD; a member declared as a property is read).
// The results convert as for the property reads; CallMethod drops it and
// CallMethodLogical is true only for a logical true.
void CallMethod(AutomationObject& holder, const char* name, ArgList args = {});
Text CallMethodText(AutomationObject& holder, const char* name, ArgList args = {});
double CallMethodNumber(AutomationObject& holder, const char* name, ArgList args = {});
bool CallMethodLogical(AutomationObject& holder, const char* name, ArgList args = {});
AutomationObject CallMethodObject(AutomationObject& holder, const char* name, ArgList args = {});
