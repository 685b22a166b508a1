// Letting go of a request object this code created, in a way that is safe
// with Wine 8.0's object, whose worker threads may still write into the
// object after the exchange has ended (see the .cpp).
#pragma once
#include "http/answer_wait.h"
#include "runtime/automation_object.h"

// Whether a new exchange may start: false (and a reason for
// LastExchangeRefusal) while kMaxKeptRequestObjects objects are kept for
// good. Exchanges that start side by side may pass it together.
bool RequestObjectMayStart();

// Empties `request`. How the exchange ended decides when the object itself
// goes: after an exchange that ended by itself, when a later object is let
// go at least a second on; after one that was cut off (or whose body was
// not waited for), only when the program ends.
void ReleaseRequestObject(AutomationObject& request, ExchangeEnd end);

// For the end of the program, while COM is still initialised on the calling
// thread: waits until every object kept after an exchange that ended by
// itself has settled, then releases it. Objects of exchanges that were cut
// off stay unreleased; ending the process ends their threads first.
void ReleaseKeptRequestObjects();

// Makes room for new exchanges again, as if no object had been cut off; the
// objects kept so far stay unreleased. Not for product code.
void ForgetKeptRequestObjectsForTests();
