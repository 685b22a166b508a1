// AutomationObject: the holder of one platform automation object, and the
// operations that fill and empty it.
//
// A holder owns one reference to `iface` (null when empty) and keeps the
// HRESULT of the last step of the last operation made through it in
// `lastResult`. Holders are move-only; `AssignObject` shares an object
// between two holders. Every holder returned by the bridge is a new object
// owned by the caller and releases its reference when it goes.
//
// COM must already be initialised on the calling thread (see ComScope).
#pragma once
#include <windows.h>
#include <ole2.h>

class AutomationObject {
 public:
  AutomationObject() noexcept = default;
  AutomationObject(AutomationObject&& other) noexcept : iface(other.iface), lastResult(other.lastResult) {
    other.iface = nullptr;
    other.lastResult = S_OK;
  }
  AutomationObject& operator=(AutomationObject&& other) noexcept;
  AutomationObject(const AutomationObject&) = delete;
  AutomationObject& operator=(const AutomationObject&) = delete;
  ~AutomationObject() {
    if (iface) iface->Release();
  }

  // Replaces the held interface by `adopted`, taking over its reference.
  void Adopt(IUnknown* adopted) noexcept;

  IUnknown* iface = nullptr;   // one owned reference; null when empty
  HRESULT lastResult = S_OK;   // of the last step of the last operation
};

// Creates the object named by `progId` into `holder` (any object it held is
// released first). `progId` may also be a class id in braces. When
// `typeLibraryPath` is given, the type named `progId` in that type library is
// tried first (and the library registered when the path has a backslash).
// True when the holder now has an object; the failing code is in lastResult.
bool CreateObject(AutomationObject& holder, const char* progId, const char* typeLibraryPath = nullptr);

// Releases the object; the holder is empty and lastResult 0 afterwards.
void ReleaseObject(AutomationObject& holder);

bool IsObjectEmpty(const AutomationObject& holder);

// `target` drops its object and shares the object of `source` (lastResult
// is not copied).
void AssignObject(AutomationObject& target, const AutomationObject& source);
