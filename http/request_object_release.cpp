// Wine 8.0's request object receives through worker threads that are not
// always done with the object when its exchange is:
// - It asks for the available byte count in asynchronous mode with a
//   pointer into the object, and when that call was queued the worker
//   stores the count through the pointer after its completion callback has
//   returned, that is after the object may already have seen the end of the
//   answer. Released at once, the object's memory is then written after it
//   was freed (the next request carried foreign bytes, or the heap broke).
//   The worker leaves no trace of that store the caller could wait for: it
//   is the last thing it does with the object, and it is done as soon as the
//   thread is scheduled again. So the object is kept until the next object
//   is let go, a whole exchange later. A failed exchange may have such a
//   store pending from an earlier step; it is kept the same way.
// - An exchange given up before it ended goes on in the object's threads
//   until data comes, the connection closes or a time-out passes (none while
//   waiting for the answer's headers), and then reports into the object and
//   signals its event. Aborting or releasing it does not stop that: both wait
//   for the object's own thread, which may sit in a socket read for the whole
//   receive time-out, and a read the worker has queued goes on after them.
//   Such an object is left alone, never released, until the program ends.
// Windows' object needs none of this; there it only defers a release.
#include "http/request_object_release.h"

#include <mutex>
#include <vector>

namespace {

std::mutex retiredLock;
AutomationObject lastWhole;  // the last object whose answer came in whole

void KeepUntilExit(AutomationObject& request) {
  static std::vector<IUnknown*>* kept = new std::vector<IUnknown*>;  // never freed, on purpose
  const std::lock_guard lock(retiredLock);
  kept->push_back(request.iface);
  request.iface = nullptr;
}

}  // namespace

void ReleaseRequestObject(AutomationObject& request, ExchangeEnd end) {
  switch (end) {
    case ExchangeEnd::Whole:
    case ExchangeEnd::Failed: {
      AutomationObject previous;
      {
        const std::lock_guard lock(retiredLock);
        previous = std::move(lastWhole);
        lastWhole = std::move(request);
      }
      return;  // `previous` goes here, outside the lock
    }
    case ExchangeEnd::HeadersIn:
    case ExchangeEnd::CutOff:
      KeepUntilExit(request);
      return;
  }
}
