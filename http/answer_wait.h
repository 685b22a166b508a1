// Sending a request through the platform's request object and waiting for
// its answer for a bounded time. The object must have been opened in
// asynchronous mode.
//
// Why not synchronous mode: Wine 8.0's request object then waits for the
// answer's headers without any time-out, whatever SetTimeouts says, so a
// server that accepts the connection and stays silent blocks the caller for
// good. It also crashes when the body of an exchange that failed part-way is
// read, so nothing of a failed exchange may be read.
#pragma once
#include <cstdint>

#include "runtime/automation_object.h"
#include "runtime/invoke_by_name.h"

// Calls the send member `sendName` with `body`, then waits:
// - up to `answerSeconds` for the whole answer;
// - when by then the answer has begun (its status can be read), on until it
//   ends, each read of it being bounded by the object's receive time-out;
// - otherwise the request is aborted.
// True when the answer arrived whole. False when sending or the exchange
// failed or was given up: the response must not be read then.
bool SendAndAwaitAnswer(AutomationObject& request, const char* sendName, ArgList body, int32_t answerSeconds);
