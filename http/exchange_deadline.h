// How long one exchange with a server may take, whatever the server does:
// the time-outs both request engines set and the deadline of each whole
// exchange. A server that stays silent, drips its answer or never ends it
// makes the request fail at its deadline, like any failed request.
#pragma once
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
