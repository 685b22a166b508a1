#include "support/test_dispatch.h"

#include <utility>

HRESULT TestDispatch::QueryInterface(REFIID iid, void** out) {
  if (iid != IID_IUnknown && iid != IID_IDispatch) return *out = nullptr, E_NOINTERFACE;
  *out = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

ULONG TestDispatch::Release() {
  ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

// Lives as long as the registration; COM's references do not own it.
class ScopedClassObject::Factory final : public IClassFactory {
 public:
  explicit Factory(std::function<IUnknown*()> make) : make_(std::move(make)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return *out = nullptr, E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    IUnknown* object = make_();
    if (!object) return CLASS_E_CLASSNOTAVAILABLE;
    HRESULT result = object->QueryInterface(iid, out);
    object->Release();
    return result;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

 private:
  std::function<IUnknown*()> make_;
};

ScopedClassObject::ScopedClassObject(const CLSID& classId, std::function<IUnknown*()> make)
    : factory_(new Factory(std::move(make))) {
  CoRegisterClassObject(classId, factory_, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

ScopedClassObject::~ScopedClassObject() {
  CoRevokeClassObject(cookie_);
  delete factory_;
}
