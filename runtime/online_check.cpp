#include "runtime/online_check.h"

#include <wininet.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "runtime/internet_handle.h"

namespace {

// One opening of the page, on a thread of its own: WinINet's calls block,
// and under Wine nothing bounds them. The check waits for the thread until
// the deadline; then it closes the session handle, which ends the blocked
// call on Windows (Wine lets the call go on: it ends on its own later, with
// everything it uses its own).
class PageOpening {
 public:
  static bool Opens(const char* url) {
    auto opening = std::make_shared<PageOpening>(url);
    auto* threadShare = new std::shared_ptr<PageOpening>(opening);
    HANDLE thread = CreateThread(nullptr, 0, ThreadMain, threadShare, 0, nullptr);
    if (!thread) {
      delete threadShare;
      return false;
    }
    const bool inTime = WaitForSingleObject(thread, kOnlineCheckDeadlineMs) == WAIT_OBJECT_0;
    CloseHandle(thread);
    if (!inTime) opening->CloseSession();
    return inTime && opening->opened_;
  }

  explicit PageOpening(const char* url) : url_(url) {}

 private:
  static DWORD WINAPI ThreadMain(void* parameter) {
    const std::unique_ptr<std::shared_ptr<PageOpening>> opening(static_cast<std::shared_ptr<PageOpening>*>(parameter));
    (*opening)->Open();
    return 0;
  }

  void Open() {
    HINTERNET internet = InternetOpenA("test", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!internet) return;
    {
      const std::lock_guard lock(sessionLock_);
      if (sessionClosed_) {
        InternetCloseHandle(internet);
        return;
      }
      session_ = internet;
    }
    // Opened only to see that it opens: closed at once, before the session.
    opened_ = InternetHandle(InternetOpenUrlA(internet, url_.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0)) != nullptr;
    CloseSession();
  }

  void CloseSession() {
    const std::lock_guard lock(sessionLock_);
    if (session_) InternetCloseHandle(session_);
    session_ = nullptr;
    sessionClosed_ = true;
  }

  const std::string url_;
  std::atomic<bool> opened_{false};
  std::mutex sessionLock_;
  HINTERNET session_ = nullptr;
  bool sessionClosed_ = false;
};

}  // namespace

void OnlineCheck(TypedArg* result, int count, const TypedArg* arguments) {
  bool online;
  if (count > 0 && arguments[0].type == ValueType::Text && arguments[0].Pointer<const char>()) {
    online = PageOpening::Opens(arguments[0].Pointer<const char>());
  } else {
    online = InternetGetConnectedState(nullptr, 0) && PageOpening::Opens(DefaultOnlineCheckUrl);
  }
  result->value = online ? 1 : 0;
}
