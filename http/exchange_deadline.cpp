#include "http/exchange_deadline.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<uint32_t> testBudgetMs{0};

// One read of the tests' budget, so that a budget changed meanwhile by
// another thread cannot leave this deadline with a budget of 0.
uint32_t EffectiveBudget(uint32_t budgetMs) {
  const uint32_t forTests = testBudgetMs.load();
  return forTests ? forTests : budgetMs;
}

}  // namespace

ExchangeDeadline::ExchangeDeadline(uint32_t budgetMs)
    : budgetMs_(EffectiveBudget(budgetMs)), endTick_(GetTickCount64() + budgetMs_) {}

uint32_t ExchangeDeadline::RemainingMs() const {
  const uint64_t now = GetTickCount64();
  return now >= endTick_ ? 0 : static_cast<uint32_t>(endTick_ - now);
}

void SetExchangeDeadlineForTests(uint32_t budgetMs) { testBudgetMs = budgetMs; }
