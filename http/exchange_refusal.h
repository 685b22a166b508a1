// Why an exchange failed at once, without being tried: too much is still
// held by exchanges given up earlier (the caps in http/exchange_deadline.h).
// Like the system's last error, it belongs to the calling thread and is set
// by each exchange of either engine.
#pragma once
#include <string_view>

// The reason of the calling thread's last exchange (GBK); empty when that
// exchange was tried.
std::string_view LastExchangeRefusal();

// For the engines, as an exchange starts: it is refused for `reason`, or
// (null) it is tried.
void NoteExchangeRefusal(const char* reason);
