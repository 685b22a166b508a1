#include "http/exchange_deadline.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<uint32_t> testBudgetMs{0};
}  // namespace

ExchangeDeadline::ExchangeDeadline(uint32_t budgetMs)
    : budgetMs_(testBudgetMs.load() ? testBudgetMs.load() : budgetMs), endTick_(GetTickCount64() + budgetMs_) {}

uint32_t ExchangeDeadline::RemainingMs() const {
  const uint64_t now = GetTickCount64();
  return now >= endTick_ ? 0 : static_cast<uint32_t>(endTick_ - now);
}

void SetExchangeDeadlineForTests(uint32_t budgetMs) { testBudgetMs = budgetMs; }
