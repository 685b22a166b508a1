// Owner of one WinINet handle; closes it when it goes out of scope, so the
// handles of a request close innermost first on every path.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <memory>

struct InternetHandleCloser {
  void operator()(HINTERNET handle) const noexcept { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;
