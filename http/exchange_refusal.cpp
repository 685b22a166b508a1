#include "http/exchange_refusal.h"

namespace {
thread_local const char* lastRefusal = nullptr;
}  // namespace

std::string_view LastExchangeRefusal() { return lastRefusal ? lastRefusal : ""; }

void NoteExchangeRefusal(const char* reason) { lastRefusal = reason; }
