// Sending a request through the platform's request object and waiting for
// its answer until the exchange's deadline. The object must have been opened
// in asynchronous mode.
//
// Why not synchronous mode: Wine 8.0's request object then waits for the
// answer's headers without any time-out, whatever SetTimeouts says, so a
// server that accepts the connection and stays silent blocks the caller for
// good. It also crashes when the body of an exchange that failed part-way is
// read, so nothing of a failed exchange may be read.
#pragma once
#include <cstdint>
#include <optional>

#include "http/exchange_deadline.h"
#include "runtime/automation_object.h"
#include "runtime/invoke_by_name.h"

// How an exchange ended.
enum class ExchangeEnd {
  Whole,      // the whole answer is in: it may be read
  HeadersIn,  // the headers are in, the body is not (only when headers suffice)
  Failed,     // the exchange failed by itself: nothing may be read
  CutOff,     // given up at the deadline, still going: nothing may be read
  TooLong,    // the headers declare a longer body than wanted: only they may be read
};

// Calls the send member `sendName` with `body`, then waits until the whole
// answer is in: its headers must be in by `headersBy` (Wine's object waits
// for them without any time-out; Windows' applies its receive time-out), the
// rest by `wholeBy`. When `headersSuffice`, it returns at most a second after
// the headers are in. With `largestBody`, it asks every kHeaderPollMs
// whether the headers are in and ends as soon as they declare a longer body
// (the object reads the whole body into its own buffer before it hands any
// of it over). When a deadline passes, or the body is too long, the exchange
// is left to end on its own (see ReleaseRequestObject).
ExchangeEnd SendAndAwaitAnswer(AutomationObject& request, const char* sendName, ArgList body,
                               const ExchangeDeadline& headersBy, const ExchangeDeadline& wholeBy,
                               bool headersSuffice = false, std::optional<uint64_t> largestBody = std::nullopt);
