#include "runtime/automation_object.h"

#include <string>

#include "runtime/codepage.h"

AutomationObject& AutomationObject::operator=(AutomationObject&& other) noexcept {
  if (this != &other) {
    Adopt(other.iface);
    lastResult = other.lastResult;
    other.iface = nullptr;
    other.lastResult = S_OK;
  }
  return *this;
}

void AutomationObject::Adopt(IUnknown* adopted) noexcept {
  IUnknown* old = iface;
  iface = adopted;
  if (old) old->Release();
}

namespace {

// The object of the type named `name` in a type library, or null.
IUnknown* CreateFromTypeLibrary(AutomationObject& holder, std::wstring path, std::wstring name) {
  ITypeLib* library = nullptr;
  if (FAILED(holder.lastResult = LoadTypeLib(path.c_str(), &library))) return nullptr;
#ifdef _WIN64
  const SYSKIND kSystem = SYS_WIN64;
#else
  const SYSKIND kSystem = SYS_WIN32;
#endif
  ULONG hash = LHashValOfNameSys(kSystem, GetUserDefaultLCID(), name.data());
  ITypeInfo* type = nullptr;
  MEMBERID member = 0;
  USHORT found = 1;
  IUnknown* object = nullptr;
  holder.lastResult = library->FindName(name.data(), hash, &type, &member, &found);
  if (SUCCEEDED(holder.lastResult) && found == 1 && type) {
    holder.lastResult = type->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object));
    if (FAILED(holder.lastResult)) object = nullptr;
    if (object && path.find(L'\\') != std::wstring::npos) {
      holder.lastResult = RegisterTypeLib(library, path.data(), nullptr);
    }
  }
  if (type) type->Release();
  library->Release();
  return object;
}

IUnknown* CreateFromClassName(AutomationObject& holder, const std::wstring& name) {
  CLSID classId;
  if (FAILED(holder.lastResult = CLSIDFromProgID(name.c_str(), &classId)) &&
      FAILED(holder.lastResult = CLSIDFromString(name.c_str(), &classId))) {
    return nullptr;
  }
  IUnknown* object = nullptr;
  constexpr DWORD kAnyServer =
      CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
  holder.lastResult = CoCreateInstance(classId, nullptr, kAnyServer, IID_IUnknown, reinterpret_cast<void**>(&object));
  if (holder.lastResult == E_INVALIDARG) {
    holder.lastResult = CoCreateInstance(classId, nullptr, kAnyServer & ~CLSCTX_REMOTE_SERVER, IID_IUnknown,
                                         reinterpret_cast<void**>(&object));
  }
  return SUCCEEDED(holder.lastResult) ? object : nullptr;
}

}  // namespace

bool CreateObject(AutomationObject& holder, const char* progId, const char* typeLibraryPath) {
  holder.Adopt(nullptr);
  holder.lastResult = S_OK;
  if (!progId) return false;
  std::wstring name = GbkToWide(progId);
  IUnknown* object = nullptr;
  if (typeLibraryPath) object = CreateFromTypeLibrary(holder, GbkToWide(typeLibraryPath), name);
  if (!object) object = CreateFromClassName(holder, name);
  if (!object) return false;
  if (FAILED(holder.lastResult = OleRun(object))) {
    object->Release();
    return false;
  }
  holder.Adopt(object);
  return true;
}

void ReleaseObject(AutomationObject& holder) {
  holder.Adopt(nullptr);
  holder.lastResult = S_OK;
}

bool IsObjectEmpty(const AutomationObject& holder) { return holder.iface == nullptr; }

void AssignObject(AutomationObject& target, const AutomationObject& source) {
  if (source.iface) source.iface->AddRef();
  target.Adopt(source.iface);
}
