// Balanced COM initialisation of the calling thread for the life of an
// object that uses automation.
#pragma once
#include <windows.h>
#include <objbase.h>

class ComScope {
 public:
  // A thread already in another apartment keeps it and is not uninitialised.
  ComScope() noexcept : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }

 private:
  bool initialised_;
};
