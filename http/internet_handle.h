// Owner of one WinINet handle; closes it when it goes out of scope, so the
// handles of a request close innermost first on every path.
#pragma once
#include <windows.h>
#include <wininet.h>

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle = nullptr) noexcept : handle_(handle) {}
  InternetHandle(InternetHandle&& other) noexcept : handle_(other.release()) {}
  InternetHandle& operator=(InternetHandle&& other) noexcept {
    reset(other.release());
    return *this;
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() { reset(); }

  HINTERNET get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != nullptr; }

  HINTERNET release() noexcept {
    HINTERNET handle = handle_;
    handle_ = nullptr;
    return handle;
  }
  void reset(HINTERNET handle = nullptr) noexcept {
    if (handle_) InternetCloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HINTERNET handle_;
};
