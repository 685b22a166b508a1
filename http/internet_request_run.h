// The deadline of one WinINet request.
//
// WinINet's calls block, and Wine's WinINet lets a server hold them for good:
// it sets no time-out on a TLS handshake, follows redirects without end
// inside one send call, and closing a handle from another thread does not
// end a call blocked on it (the call holds its own reference; the connection
// closes only when the last one goes), unlike Windows. So the request is
// performed on a thread of its own, and the caller waits for it only until
// the deadline.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "http/exchange_deadline.h"

class InternetRequestRun {
 public:
  using Work = std::function<void(InternetRequestRun&)>;

  // Performs `work` on a thread of its own and waits for it until
  // `deadline`. True when the work ended in time without throwing (running
  // out of memory throws there) and no request of it followed more than
  // kMaxRedirects redirects. Otherwise the request handle the work
  // registered is closed, so that its further calls fail, and the work ends
  // on its own later: whatever it uses must be its own. While
  // kMaxGivenUpInternetWorkers such works have not ended, it fails at once
  // and says why (LastExchangeRefusal).
  static bool Perform(Work work, const ExchangeDeadline& deadline);

  // For the work: makes the redirects of requests under `root` counted.
  // Requests must be opened with Context() as their context.
  void CountRedirects(HINTERNET root);
  DWORD_PTR Context() { return reinterpret_cast<DWORD_PTR>(this); }
  // The request handle, closed by CloseRequest or when the run is given up,
  // whichever comes first (at once when the run was given up before).
  void SetRequest(HINTERNET request);
  void CloseRequest();

  InternetRequestRun(const InternetRequestRun&) = delete;
  InternetRequestRun& operator=(const InternetRequestRun&) = delete;
  ~InternetRequestRun();

 private:
  explicit InternetRequestRun(Work work);
  static DWORD WINAPI ThreadMain(void* parameter);
  void GiveUp();
  void End();
  static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status, void* info, DWORD length);

  enum class Stage { Running, Ended, GivenUp };

  Work work_;
  std::atomic<Stage> stage_{Stage::Running};
  std::atomic<bool> failed_{false};
  HANDLE tooManyRedirects_;  // event
  std::atomic<int> redirects_{0};
  std::mutex requestLock_;
  HINTERNET request_ = nullptr;
  bool requestClosed_ = false;
};
