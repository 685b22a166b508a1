// Platform functions bound on their first call, by module and function
// name, so the program starts even where one is missing and fails only when
// it is really needed.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <utility>
#include <vector>

// Finds `name` in `module` (loading the module when it is not in the process
// yet), stores the address in `*slot` and returns it. A name "#17" is an
// ordinal; a name is cut before "@@". A missing module or function shows a
// "DLL ERROR" box and ends the program. Safe from several threads at once.
FARPROC ResolveFunction(const char* module, const char* name, FARPROC* slot);

// Modules loaded by ResolveFunction, in load order; released at program end.
const std::vector<HMODULE>& LoadedLibraries();

// A call slot: holds the function once resolved, so later calls go straight
// to it. `Function` is the function-pointer type with its calling convention.
// Threads that make the first call together each resolve the same address;
// the slot only ever goes from empty to that address.
template <typename Function>
class LateBoundSlot {
 public:
  constexpr LateBoundSlot(const char* module, const char* name) : module_(module), name_(name) {}

  template <typename... Args>
  decltype(auto) operator()(Args&&... args) {
    Function function = function_.load(std::memory_order_acquire);
    if (!function) {
      ResolveFunction(module_, name_, reinterpret_cast<FARPROC*>(&function));
      function_.store(function, std::memory_order_release);
    }
    return function(std::forward<Args>(args)...);
  }

  bool IsResolved() const { return Target() != nullptr; }
  Function Target() const { return function_.load(std::memory_order_acquire); }

 private:
  const char* module_;
  const char* name_;
  std::atomic<Function> function_{nullptr};
};

// The late-bound functions of the program, in slot order.
extern LateBoundSlot<size_t(__cdecl*)(const char*)> LateStrlen;
extern LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR)> LateStrStrIW;
extern LateBoundSlot<PCSTR(WINAPI*)(PCSTR, PCSTR)> LateStrStrA;
extern LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR)> LateStrStrW;
extern LateBoundSlot<SIZE_T(WINAPI*)(HGLOBAL)> LateGlobalSize;
extern LateBoundSlot<int(WINAPI*)(LPCWSTR, DWORD, LPCWSTR, int, LPWSTR, int, LPNLSVERSIONINFO, LPVOID, LPARAM)>
    LateLCMapStringEx;
extern LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR)> LateStrStrW2;
extern LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR, PCWSTR)> LateStrRStrIW;
extern LateBoundSlot<PCWSTR(WINAPI*)(PCWSTR, PCWSTR, PCWSTR)> LateStrRStrW;
