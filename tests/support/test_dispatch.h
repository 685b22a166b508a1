// The tests' own automation objects: the IUnknown part and the class
// registration that lets the platform create them by class id.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <functional>

// Reference counted from one (the creator's reference); answers IUnknown
// and IDispatch. Derived classes add the IDispatch members.
class TestDispatch : public IDispatch {
 public:
  ULONG references() const { return references_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override;

 protected:
  virtual ~TestDispatch() = default;

 private:
  ULONG references_ = 1;
};

// For its life, CoCreateInstance of `classId` in this process gives the
// objects `make` returns (handing over their one reference), ahead of any
// class the registry names; when `make` returns null, creation fails.
class ScopedClassObject {
 public:
  ScopedClassObject(const CLSID& classId, std::function<IUnknown*()> make);
  ~ScopedClassObject();
  ScopedClassObject(const ScopedClassObject&) = delete;
  ScopedClassObject& operator=(const ScopedClassObject&) = delete;

 private:
  class Factory;
  Factory* factory_;
  DWORD cookie_ = 0;
};
