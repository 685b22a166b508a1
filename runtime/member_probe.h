// Reads an automation member's declaration from the object's type
// information, for the call core: which call kind the member really is and
// which of its parameters are declared by reference.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <vector>

struct MemberShape {
  WORD flags;                  // the call kind to use
  std::vector<bool> byRef;     // per argument: declared by reference
};

// Objects without type information keep the requested kind and no
// by-reference parameters.
// - A method call takes the kind of the member's first function (a put
//   function called without arguments reads instead) and marks every
//   argument declared as a pointer or by reference.
// - A property read of a member whose first function is a method calls it
//   as "method or property get" and marks as for a method call.
// - Otherwise, or when no function has the id, a variable with the id marks
//   the first argument when the variable is a pointer or by reference, and
//   turns a method call into a property read.
MemberShape ProbeMember(IDispatch* dispatch, DISPID member, WORD flags, size_t argumentCount);
