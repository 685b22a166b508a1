#include "runtime/invoke_by_name.h"

#include <string>
#include <vector>

#include "runtime/automation_values.h"
#include "runtime/codepage.h"
#include "runtime/member_probe.h"

namespace {

// What a by-reference cell points at when the caller's variable cannot be
// handed over as it is, and what has to be written back after the call.
struct ReferenceSlot {
  enum Kind { None, TextVariable, LogicalVariable, ObjectHolder } kind = None;
  void* variable = nullptr;  // Text*, bool* or AutomationObject*
  BSTR text = nullptr;
  VARIANT_BOOL logical = VARIANT_FALSE;
  IDispatch* object = nullptr;
  IDispatch* objectPassed = nullptr;  // to see whether the member replaced it
};

// The DISPPARAMS of one call: the cells last argument first, the local
// slots of by-reference arguments, and what is written back afterwards.
class PackedArguments {
 public:
  PackedArguments(ArgList args, MemberShape& shape) : cells_(args.size()), slots_(args.size()) {
    for (size_t i = 0; i < args.size(); ++i) {
      VARIANT& cell = cells_[args.size() - 1 - i];
      VariantInit(&cell);
      Pack(args[i], shape.byRef[i], shape.flags, cell, slots_[i]);
    }
    params_.rgvarg = cells_.data();
    params_.cArgs = static_cast<UINT>(cells_.size());
    if ((shape.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) && !cells_.empty()) {
      params_.rgdispidNamedArgs = &namedValue_;
      params_.cNamedArgs = 1;
    }
  }
  PackedArguments(const PackedArguments&) = delete;
  PackedArguments& operator=(const PackedArguments&) = delete;
  ~PackedArguments() {
    for (VARIANT& cell : cells_) VariantClear(&cell);
  }

  DISPPARAMS* params() { return &params_; }

  // Hands what the member left in by-reference slots to the caller's
  // variables and frees the slots.
  void WriteBack() {
    for (ReferenceSlot& slot : slots_) {
      switch (slot.kind) {
        case ReferenceSlot::TextVariable:
          if (slot.text) *static_cast<Text*>(slot.variable) = BstrToText(slot.text);
          SysFreeString(slot.text);
          break;
        case ReferenceSlot::LogicalVariable: *static_cast<bool*>(slot.variable) = slot.logical != VARIANT_FALSE; break;
        case ReferenceSlot::ObjectHolder:
          // A member that replaced the object released the one it was given.
          if (slot.object != slot.objectPassed) {
            static_cast<AutomationObject*>(slot.variable)->Adopt(slot.object);
          } else if (slot.object) {
            slot.object->Release();
          }
          break;
        case ReferenceSlot::None: break;
      }
      slot.kind = ReferenceSlot::None;
    }
  }

 private:
  static void Pack(const TypedArg& arg, bool declaredByRef, WORD& flags, VARIANT& cell, ReferenceSlot& slot) {
    uint32_t kind = arg.BaseType();
    bool isVariable = arg.IsReference() && arg.value;
    if (kind == ValueType::Variant && arg.value && (isVariable || declaredByRef)) {
      V_VT(&cell) = VT_BYREF | VT_VARIANT;
      V_VARIANTREF(&cell) = arg.Pointer<VARIANT>();
      return;
    }
    if (kind == ValueType::Object && arg.value && declaredByRef) {
      PackObjectReference(*arg.Pointer<AutomationObject>(), cell, slot);
      if (flags == DISPATCH_PROPERTYPUT) flags = DISPATCH_PROPERTYPUTREF;
      return;
    }
    if (isVariable && declaredByRef && PackVariable(arg, kind, cell, slot)) return;
    ValueToVariant(isVariable ? CurrentValue(arg) : arg, cell, ObjectCell::Dispatch);
  }

  // The member may put another object into the holder.
  static void PackObjectReference(AutomationObject& holder, VARIANT& cell, ReferenceSlot& slot) {
    slot.kind = ReferenceSlot::ObjectHolder;
    slot.variable = &holder;
    if (holder.iface) holder.iface->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&slot.object));
    slot.objectPassed = slot.object;
    V_VT(&cell) = VT_BYREF | VT_DISPATCH;
    V_DISPATCHREF(&cell) = &slot.object;
  }

  // A cell pointing at the variable, or at a slot written back afterwards;
  // false for kinds that are always passed by value.
  static bool PackVariable(const TypedArg& arg, uint32_t kind, VARIANT& cell, ReferenceSlot& slot) {
    switch (kind) {
      case ValueType::Text:
        slot.kind = ReferenceSlot::TextVariable;
        slot.variable = arg.Pointer<Text>();
        slot.text = TextToBstr(arg.Pointer<Text>()->get());
        V_VT(&cell) = VT_BYREF | VT_BSTR;
        V_BSTRREF(&cell) = &slot.text;
        return true;
      case ValueType::Logical:
        slot.kind = ReferenceSlot::LogicalVariable;
        slot.variable = arg.Pointer<bool>();
        slot.logical = *arg.Pointer<bool>() ? VARIANT_TRUE : VARIANT_FALSE;
        V_VT(&cell) = VT_BYREF | VT_BOOL;
        V_BOOLREF(&cell) = &slot.logical;
        return true;
      case ValueType::Byte:
      case ValueType::Short:
      case ValueType::Int:
      case ValueType::Long:
      case ValueType::Float:
      case ValueType::Double:
      case ValueType::DateTime:
      case ValueType::Routine:
        V_VT(&cell) = VT_BYREF | VariantTypeOf(kind);
        V_BYREF(&cell) = arg.Pointer<void>();
        return true;
      default: return false;
    }
  }

  std::vector<VARIANT> cells_;
  std::vector<ReferenceSlot> slots_;
  DISPID namedValue_ = DISPID_PROPERTYPUT;
  DISPPARAMS params_{};
};

}  // namespace

HRESULT InvokeByName(AutomationObject& holder, const char* name, WORD flags, ArgList args, VARIANT* result) {
  if (result) VariantInit(result);
  while (!args.empty() && args.back().IsAbsent()) args = args.first(args.size() - 1);
  if (!holder.iface) return holder.lastResult = E_POINTER;
  IDispatch* dispatch = nullptr;
  holder.lastResult = holder.iface->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
  if (FAILED(holder.lastResult)) return holder.lastResult;
  std::wstring wideName = GbkToWide(name ? name : "");
  LPOLESTR names[] = {wideName.data()};
  DISPID member = DISPID_UNKNOWN;
  holder.lastResult = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &member);
  if (SUCCEEDED(holder.lastResult)) {
    MemberShape shape = ProbeMember(dispatch, member, flags, args.size());
    PackedArguments packed(args, shape);
    UINT argumentError = 0;
    holder.lastResult =
        dispatch->Invoke(member, IID_NULL, 0, shape.flags, packed.params(), result, nullptr, &argumentError);
    packed.WriteBack();
    if (FAILED(holder.lastResult) && result) VariantClear(result);
  }
  dispatch->Release();
  return holder.lastResult;
}
