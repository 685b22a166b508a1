#include "support/recording_object.h"

#include <algorithm>

#include "runtime/codepage.h"

namespace {

std::string ArgumentText(const VARIANT& argument) {
  const VARIANT& cell = V_VT(&argument) == (VT_BYREF | VT_VARIANT) ? *V_VARIANTREF(&argument) : argument;
  if (V_VT(&cell) == VT_BOOL) return V_BOOL(&cell) ? "true" : "false";
  if (V_VT(&cell) == (VT_ARRAY | VT_UI1)) {
    SAFEARRAY* array = V_ARRAY(&cell);
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return "?";
    std::string bytes(static_cast<const char*>(data), array->rgsabound[0].cElements);
    SafeArrayUnaccessData(array);
    return bytes;
  }
  VARIANT text;
  VariantInit(&text);
  if (FAILED(VariantChangeType(&text, const_cast<VARIANT*>(&cell), 0, VT_BSTR))) return "?";
  std::string converted = WideToGbk(V_BSTR(&text) ? V_BSTR(&text) : L"");
  VariantClear(&text);
  return converted;
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const RecordedCall& call) {
  out << call.name << "(" << call.flags << ")";
  for (size_t i = 0; i < call.args.size(); ++i) out << (i ? ", " : ": ") << '"' << call.args[i] << '"';
  return out;
}

HRESULT RecordingObject::GetTypeInfoCount(UINT* count) {
  *count = 0;
  return S_OK;
}

HRESULT RecordingObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = nullptr;
  return E_NOTIMPL;
}

HRESULT RecordingObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  for (UINT i = 1; i < count; ++i) ids[i] = DISPID_UNKNOWN;
  auto known = std::find(names_.begin(), names_.end(), names[0]);
  if (known == names_.end()) known = names_.insert(names_.end(), names[0]);
  ids[0] = static_cast<DISPID>(known - names_.begin() + 1);
  return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT RecordingObject::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                EXCEPINFO*, UINT*) {
  if (member < 1 || static_cast<size_t>(member) > names_.size()) return DISP_E_MEMBERNOTFOUND;
  RecordedCall call{WideToGbk(names_[member - 1]), flags, {}};
  for (UINT i = params->cArgs; i > 0; --i) call.args.push_back(ArgumentText(params->rgvarg[i - 1]));
  auto answer = answers_.find(call.name);
  auto failure = failures_.find(call.name);
  log_.push_back(std::move(call));
  if (failure != failures_.end()) return failure->second;
  if (!result) return S_OK;
  VariantInit(result);
  return answer == answers_.end() ? S_OK : VariantCopy(result, &answer->second.get());
}
