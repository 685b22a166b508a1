#include "runtime/probe_object.h"

#include <cwchar>

const CLSID kProbeClassId = {0x5b8d2b0e, 0x6c1f, 0x4d8a, {0x9e, 0x51, 0x0a, 0x7c, 0x3f, 0x2d, 0x4e, 0x61}};

namespace {

const GUID kProbeLibraryId = {0x5b8d2b0e, 0x6c1f, 0x4d8a, {0x9e, 0x51, 0x0a, 0x7c, 0x3f, 0x2d, 0x4e, 0x62}};
const GUID kProbeInterfaceId = {0x5b8d2b0e, 0x6c1f, 0x4d8a, {0x9e, 0x51, 0x0a, 0x7c, 0x3f, 0x2d, 0x4e, 0x63}};

TYPEDESC Plain(VARTYPE type) {
  TYPEDESC description{};
  description.vt = type;
  return description;
}

// A pointer to `target`, which must outlive the description.
TYPEDESC PointerTo(TYPEDESC& target) {
  TYPEDESC description{};
  description.vt = VT_PTR;
  description.lptdesc = &target;
  return description;
}

class TypeWriter {
 public:
  explicit TypeWriter(ICreateTypeInfo* type) : type_(type) {}

  void Function(DISPID member, INVOKEKIND kind, std::vector<TYPEDESC> parameters, std::vector<LPOLESTR> names) {
    std::vector<ELEMDESC> elements(parameters.size());
    for (size_t i = 0; i < parameters.size(); ++i) {
      elements[i].tdesc = parameters[i];
      elements[i].paramdesc.wParamFlags = PARAMFLAG_FIN;
    }
    FUNCDESC function{};
    function.memid = member;
    function.funckind = FUNC_DISPATCH;
    function.invkind = kind;
    function.callconv = CC_STDCALL;
    function.cParams = static_cast<SHORT>(elements.size());
    function.lprgelemdescParam = elements.data();
    function.elemdescFunc.tdesc.vt = kind == INVOKE_PROPERTYPUT ? VT_VOID : VT_VARIANT;
    Check(type_->AddFuncDesc(functions_, &function));
    Check(type_->SetFuncAndParamNames(functions_, names.data(), static_cast<UINT>(names.size())));
    ++functions_;
  }

  void Variable(DISPID member, TYPEDESC type, LPOLESTR name) {
    VARDESC variable{};
    variable.memid = member;
    variable.elemdescVar.tdesc = type;
    variable.varkind = VAR_DISPATCH;
    Check(type_->AddVarDesc(variables_, &variable));
    Check(type_->SetVarName(variables_, name));
    ++variables_;
  }

  static void Check(HRESULT result) {
    if (FAILED(result)) std::fwprintf(stderr, L"building the probe type failed: 0x%08lx\n", result);
  }

 private:
  ICreateTypeInfo* type_;
  UINT functions_ = 0;
  UINT variables_ = 0;
};

LPOLESTR Name(const wchar_t* name) { return const_cast<LPOLESTR>(name); }

// Built once and kept for the life of the test program.
ITypeInfo* ProbeTypeInfo() {
  static ITypeInfo* info = [] {
    ICreateTypeLib2* library = nullptr;
    TypeWriter::Check(CreateTypeLib2(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, Name(L"probe.tlb"), &library));
    library->SetGuid(kProbeLibraryId);
    ICreateTypeInfo* type = nullptr;
    TypeWriter::Check(library->CreateTypeInfo(Name(L"IProbe"), TKIND_DISPATCH, &type));
    type->SetGuid(kProbeInterfaceId);
    ITypeLib* standard = nullptr;
    ITypeInfo* dispatch = nullptr;
    HREFTYPE base = 0;
    TypeWriter::Check(LoadTypeLib(L"stdole2.tlb", &standard));
    TypeWriter::Check(standard->GetTypeInfoOfGuid(IID_IDispatch, &dispatch));
    TypeWriter::Check(type->AddRefTypeInfo(dispatch, &base));
    TypeWriter::Check(type->AddImplType(0, base));

    static TYPEDESC text = Plain(VT_BSTR), logical = Plain(VT_BOOL), number = Plain(VT_I4),
                    object = Plain(VT_DISPATCH);
    TypeWriter writer(type);
    writer.Function(kEcho, INVOKE_FUNC, {PointerTo(text)}, {Name(L"Echo"), Name(L"text")});
    writer.Function(kToggle, INVOKE_FUNC, {PointerTo(logical)}, {Name(L"Toggle"), Name(L"flag")});
    writer.Function(kRecord, INVOKE_FUNC, {Plain(VT_VARIANT), Plain(VT_VARIANT), Plain(VT_VARIANT)},
                    {Name(L"Record"), Name(L"a"), Name(L"b"), Name(L"c")});
    writer.Function(kTwice, INVOKE_FUNC, {PointerTo(number)}, {Name(L"Twice"), Name(L"value")});
    writer.Function(kSwap, INVOKE_FUNC, {PointerTo(object)}, {Name(L"Swap"), Name(L"object")});
    writer.Function(kSize, INVOKE_PROPERTYPUT, {Plain(VT_I4)}, {Name(L"Size")});
    writer.Function(kSize, INVOKE_PROPERTYGET, {}, {Name(L"Size")});
    writer.Variable(kChild, PointerTo(object), Name(L"Child"));
    writer.Variable(kPlain, Plain(VT_BSTR), Name(L"Plain"));
    writer.Variable(kStore, Plain(VT_VARIANT), Name(L"Store"));
    TypeWriter::Check(type->LayOut());

    ITypeInfo* described = nullptr;
    TypeWriter::Check(type->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&described)));
    dispatch->Release();
    standard->Release();
    return described;
  }();
  return info;
}

struct NamedMember {
  const wchar_t* name;
  DISPID id;
};
constexpr NamedMember kMembers[] = {{L"Echo", kEcho},   {L"Child", kChild}, {L"Toggle", kToggle},
                                    {L"Plain", kPlain}, {L"Record", kRecord}, {L"Twice", kTwice},
                                    {L"Swap", kSwap},   {L"Size", kSize},   {L"Store", kStore}};

bool Reads(WORD flags) { return flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD); }
bool Writes(WORD flags) { return flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF); }

// The argument's cell, through one level of reference to a variant.
const VARIANT& Argument(const DISPPARAMS* params, UINT position) {
  const VARIANT& cell = params->rgvarg[params->cArgs - 1 - position];
  return V_VT(&cell) == (VT_BYREF | VT_VARIANT) ? *V_VARIANTREF(&cell) : cell;
}

}  // namespace

ProbeObject::~ProbeObject() {
  if (child) child->Release();
  VariantClear(&store);
}

HRESULT ProbeObject::GetTypeInfoCount(UINT* count) {
  *count = describeType_ ? 1 : 0;
  return S_OK;
}

HRESULT ProbeObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  *info = nullptr;
  if (!describeType_) return E_NOTIMPL;
  if (index != 0) return DISP_E_BADINDEX;
  *info = ProbeTypeInfo();
  (*info)->AddRef();
  return S_OK;
}

HRESULT ProbeObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  for (const NamedMember& member : kMembers) {
    if (_wcsicmp(names[0], member.name) == 0) return ids[0] = member.id, S_OK;
  }
  return DISP_E_UNKNOWNNAME;
}

HRESULT ProbeObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO*, UINT*) {
  lastCall = ProbeCall{member, flags, {}, {}, {}};
  for (UINT i = 0; i < params->cArgs; ++i) lastCall.cellTypes.push_back(V_VT(&params->rgvarg[i]));
  lastCall.named.assign(params->rgdispidNamedArgs, params->rgdispidNamedArgs + params->cNamedArgs);
  if (params->cArgs) {
    const VARIANT& first = Argument(params, 0);
    if (V_VT(&first) == VT_BSTR && V_BSTR(&first)) lastCall.firstText = V_BSTR(&first);
    if (V_VT(&first) == (VT_BYREF | VT_BSTR) && *V_BSTRREF(&first)) lastCall.firstText = *V_BSTRREF(&first);
  }
  return Act(member, flags, params, result);
}

HRESULT ProbeObject::Act(DISPID member, WORD flags, DISPPARAMS* params, VARIANT* result) {
  VARIANT* value = params->cArgs ? &params->rgvarg[0] : nullptr;
  switch (member) {
    case kEcho:
      if (!value || V_VT(value) != (VT_BYREF | VT_BSTR)) return DISP_E_TYPEMISMATCH;
      {
        std::wstring echoed = std::wstring(*V_BSTRREF(value) ? *V_BSTRREF(value) : L"") + L"!";
        SysFreeString(*V_BSTRREF(value));
        *V_BSTRREF(value) = SysAllocString(echoed.c_str());
      }
      return S_OK;
    case kToggle:
      if (!value || V_VT(value) != (VT_BYREF | VT_BOOL)) return DISP_E_TYPEMISMATCH;
      *V_BOOLREF(value) = *V_BOOLREF(value) ? VARIANT_FALSE : VARIANT_TRUE;
      return S_OK;
    case kTwice:
      if (!value || V_VT(value) != (VT_BYREF | VT_I4)) return DISP_E_TYPEMISMATCH;
      *V_I4REF(value) *= 2;
      return S_OK;
    case kSwap:
      if (!value || V_VT(value) != (VT_BYREF | VT_DISPATCH)) return DISP_E_TYPEMISMATCH;
      if (*V_DISPATCHREF(value)) (*V_DISPATCHREF(value))->Release();
      *V_DISPATCHREF(value) = new ProbeObject();
      return S_OK;
    case kRecord:
      if (result) V_VT(result) = VT_I4, V_I4(result) = 1;
      return S_OK;
    case kPlain:
      if (flags & DISPATCH_PROPERTYGET) {
        if (result) V_VT(result) = VT_BSTR, V_BSTR(result) = SysAllocString(L"plain value");
        return S_OK;
      }
      return Writes(flags) ? S_OK : DISP_E_MEMBERNOTFOUND;
    case kSize:
      if (Writes(flags) && value) {
        VARIANT number;
        VariantInit(&number);
        if (FAILED(VariantChangeType(&number, value, 0, VT_I4))) return DISP_E_TYPEMISMATCH;
        size = V_I4(&number);
        return S_OK;
      }
      if (result) V_VT(result) = VT_I4, V_I4(result) = size;
      return S_OK;
    case kChild:
      if (Writes(flags) && value) {
        IDispatch* given = V_VT(value) == VT_DISPATCH                ? V_DISPATCH(value)
                           : V_VT(value) == (VT_BYREF | VT_DISPATCH) ? *V_DISPATCHREF(value)
                                                                     : nullptr;
        if (given) given->AddRef();
        if (child) child->Release();
        child = given;
        return S_OK;
      }
      if (!Reads(flags)) return DISP_E_MEMBERNOTFOUND;
      if (result && child) V_VT(result) = VT_DISPATCH, V_DISPATCH(result) = child, child->AddRef();
      return S_OK;
    case kStore:
      if (Writes(flags) && value) return VariantCopyInd(&store, value);
      return result ? VariantCopy(result, &store) : S_OK;
    default: return DISP_E_MEMBERNOTFOUND;
  }
}

RegisterProbeClass::RegisterProbeClass() : ScopedClassObject(kProbeClassId, [] { return new ProbeObject(); }) {}
