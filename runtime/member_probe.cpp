#include "runtime/member_probe.h"

#include <algorithm>

namespace {

bool IsByRefType(const TYPEDESC& type) { return type.vt == VT_PTR || (type.vt & VT_BYREF); }

// The first function with the id. A method call takes its kind and marks
// its by-reference parameters; a property read does so only when the
// function is a method, which it then calls as "method or property get"
// (the platform's dispatcher refuses a plain property read of a method).
bool ProbeFunctions(ITypeInfo* type, const TYPEATTR& attributes, DISPID member, MemberShape& shape) {
  for (WORD i = 0; i < attributes.cFuncs; ++i) {
    FUNCDESC* function = nullptr;
    if (FAILED(type->GetFuncDesc(i, &function))) continue;
    bool match = function->memid == member;
    bool applies = match && (shape.flags == DISPATCH_METHOD || function->invkind == INVOKE_FUNC);
    if (applies) {
      size_t declared = std::min<size_t>(shape.byRef.size(), static_cast<size_t>(function->cParams));
      for (size_t a = 0; a < declared; ++a) shape.byRef[a] = IsByRefType(function->lprgelemdescParam[a].tdesc);
      if (shape.flags == DISPATCH_METHOD) {
        bool isPut = function->invkind == INVOKE_PROPERTYPUT || function->invkind == INVOKE_PROPERTYPUTREF;
        shape.flags = isPut && shape.byRef.empty() ? DISPATCH_PROPERTYGET : static_cast<WORD>(function->invkind);
      } else {
        shape.flags = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
      }
    }
    type->ReleaseFuncDesc(function);
    if (match) return applies;
  }
  return false;
}

void ProbeVariables(ITypeInfo* type, const TYPEATTR& attributes, DISPID member, MemberShape& shape) {
  for (WORD i = 0; i < attributes.cVars; ++i) {
    VARDESC* variable = nullptr;
    if (FAILED(type->GetVarDesc(i, &variable))) continue;
    bool match = variable->memid == member;
    if (match) {
      if (!shape.byRef.empty()) shape.byRef[0] = IsByRefType(variable->elemdescVar.tdesc);
      if (shape.flags == DISPATCH_METHOD) shape.flags = DISPATCH_PROPERTYGET;
    }
    type->ReleaseVarDesc(variable);
    if (match) return;
  }
}

}  // namespace

MemberShape ProbeMember(IDispatch* dispatch, DISPID member, WORD flags, size_t argumentCount) {
  MemberShape shape{flags, std::vector<bool>(argumentCount, false)};
  ITypeInfo* type = nullptr;
  if (FAILED(dispatch->GetTypeInfo(0, 0, &type)) || !type) return shape;
  TYPEATTR* attributes = nullptr;
  if (SUCCEEDED(type->GetTypeAttr(&attributes))) {
    bool found = (flags == DISPATCH_METHOD || flags == DISPATCH_PROPERTYGET) &&
                 ProbeFunctions(type, *attributes, member, shape);
    if (!found) ProbeVariables(type, *attributes, member, shape);
    type->ReleaseTypeAttr(attributes);
  }
  type->Release();
  return shape;
}
