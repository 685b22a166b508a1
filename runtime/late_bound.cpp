#include "runtime/late_bound.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "runtime/message_box.h"
#include "runtime/program_end.h"

namespace {

// Guards the list of loaded modules and the hook that releases them.
std::mutex librariesLock;

std::vector<HMODULE>& Libraries() {
  static std::vector<HMODULE> libraries;
  return libraries;
}

void FreeLoadedLibraries() {
  for (HMODULE module : Libraries()) FreeLibrary(module);
}

[[noreturn]] void DllError(const char* message) {
  RuntimeMessageBox(nullptr, message, "DLL ERROR", MB_ICONERROR);
  EndProgram(0);
}

HMODULE FindOrLoadModule(const char* module) {
  HMODULE handle = GetModuleHandleA(module);
  if (handle) return handle;
  handle = LoadLibraryA(module);
  if (!handle) {
    char message[1100];
    wsprintfA(message, "同目录下无法找到DLL文件:\"%s\".请与作者联系.", module);
    DllError(message);
  }
  if (Libraries().empty()) SetLibraryReleaseHook(FreeLoadedLibraries);
  Libraries().push_back(handle);
  return handle;
}

}  // namespace

const std::vector<HMODULE>& LoadedLibraries() { return Libraries(); }

FARPROC ResolveFunction(const char* module, const char* name, FARPROC* slot) {
  HMODULE handle;
  {
    const std::lock_guard lock(librariesLock);
    handle = FindOrLoadModule(module);
  }
  FARPROC address;
  if (name[0] == '#') {
    address = GetProcAddress(handle, MAKEINTRESOURCEA(std::atoi(name + 1)));
  } else {
    char prepared[1024];
    lstrcpynA(prepared, name, sizeof prepared);
    char* at = std::strchr(prepared, '@');
    if (at && at[1] == '@') *at = 0;
    address = GetProcAddress(handle, prepared);
  }
  if (!address) {
    char message[1100];
    wsprintfA(message, "无法定位DLL文件:\"%s\"当中的\"%s\"函数.", module, name);
    DllError(message);
  }
  *slot = address;
  return address;
}

LateBoundSlot<size_t(__cdecl*)(const char*)> LateStrlen("msvcrt.dll", "strlen");
LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR)> LateStrStrIW("shell32.dll", "StrStrIW");
LateBoundSlot<PCSTR(WINAPI*)(PCSTR, PCSTR)> LateStrStrA("shell32.dll", "StrStrA");
LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR)> LateStrStrW("shell32.dll", "StrStrW");
LateBoundSlot<SIZE_T(WINAPI*)(HGLOBAL)> LateGlobalSize("kernel32", "GlobalSize");
LateBoundSlot<int(WINAPI*)(LPCWSTR, DWORD, LPCWSTR, int, LPWSTR, int, LPNLSVERSIONINFO, LPVOID, LPARAM)>
    LateLCMapStringEx("Kernel32.dll", "LCMapStringEx");
LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR)> LateStrStrW2("shell32.dll", "StrStrW");
LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR, PCWSTR)> LateStrRStrIW("shell32.dll", "StrRStrIW");
LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR, PCWSTR)> LateStrRStrW("shell32.dll", "StrRStrW");
