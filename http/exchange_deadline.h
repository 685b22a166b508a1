// How long one exchange with a server may take, whatever the server does:
// the time-outs both request engines set and the deadline of each whole
// exchange. A server that stays silent, drips its answer or never ends it
// makes the request fail at its deadline, like any failed request.
#pragma once
#include <cstddef>
#include <cstdint>

// WinINet: time-outs of the request handle, and the whole request.
inline constexpr uint32_t kInternetConnectTimeoutMs = 60000;
inline constexpr uint32_t kInternetSendTimeoutMs = 30000;
inline constexpr uint32_t kInternetReceiveTimeoutMs = 30000;
inline constexpr uint32_t kInternetRequestDeadlineMs = 60000;
// Redirects WinINet may follow; the next one fails the request.
inline constexpr int kMaxRedirects = 10;

// The request object: the answer's headers are due within the receive
// time-out, and the exchange ends at the sum of its four time-outs (resolve,
// connect, send, receive). When the caller leaves the object's time-outs as
// they are, at these.
inline constexpr uint32_t kRequestObjectOwnReceiveTimeoutMs = 30000;
inline constexpr uint32_t kRequestObjectDefaultDeadlineMs = 60000;

// What exchanges given up at their deadline may hold on to. Such an exchange
// goes on without its caller (see http/internet_request_run.h and
// http/request_object_release.cpp); in a process that resolves without end
// they would pile up until the (32-bit) address space or the threads run
// out. Beyond a cap a new exchange of that engine fails at once instead.
// The caps are far above what one resolution gives up (at most one exchange
// per stage) and leave room for several resolutions side by side.
//   WinINet workers still running after their caller gave up: each holds a
//   thread with its stack reservation, a socket and the body read so far.
inline constexpr int kMaxGivenUpInternetWorkers = 32;
//   Request objects aborted at their deadline and kept until the program
//   ends: each holds its threads, a socket and its buffers.
inline constexpr size_t kMaxKeptRequestObjects = 32;

// A response body's first block when the response declares its length: a
// declared length is the server's word, so the block grows with what
// arrives rather than being reserved whole up front.
inline constexpr size_t kLargestFirstBodyBlock = 256 * 1024;
// While the request object waits for an answer whose body has a limit, it is
// asked this often whether the headers are in, so that a body declared
// longer than the limit is refused before much of it is read.
inline constexpr uint32_t kHeaderPollMs = 10;

// The moment an exchange must have ended by, counted from its start.
class ExchangeDeadline {
 public:
  // `budgetMs` from now, or the tests' deadline when they set one.
  explicit ExchangeDeadline(uint32_t budgetMs);

  uint32_t BudgetMs() const { return budgetMs_; }
  // Milliseconds left; 0 once the deadline has passed.
  uint32_t RemainingMs() const;
  bool Passed() const { return RemainingMs() == 0; }

 private:
  uint32_t budgetMs_;
  uint64_t endTick_;
};

// Tests that drive misbehaving servers give every exchange this budget
// instead of its own, so that they end in seconds; 0 restores the budgets
// named above. Not for product code.
void SetExchangeDeadlineForTests(uint32_t budgetMs);
