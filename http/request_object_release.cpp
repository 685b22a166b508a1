// Wine 8.0's request object receives through worker threads that are not
// always done with the object when its exchange is:
// - It asks for the available byte count in asynchronous mode with a
//   pointer into the object, and when that call was queued the worker
//   stores the count through the pointer after its completion callback has
//   returned, that is after the object may already have seen the end of the
//   answer. Released at once, the object's memory is then written after it
//   was freed (the next request carried foreign bytes, or the heap broke).
//   No call of the object shows when that store is done: it is the last
//   thing the worker does with the object, and it comes as soon as the
//   worker's thread runs again. So the object is kept and released when a
//   later object is let go, and only once it has been kept for a second (far
//   longer than a runnable thread waits for its turn). A failed exchange may
//   have such a store pending from an earlier step; it is kept the same way.
// - An exchange given up before it ended goes on in the object's threads
//   until data comes, the connection closes or a time-out passes (none while
//   waiting for the answer's headers), and then reports into the object and
//   signals its event. Releasing it does not stop that, and a read the
//   worker has queued goes on even after an abort. Such an object is aborted,
//   so that it reads no more of the answer into its buffer, and then left
//   alone, never released, until the program ends. At most
//   kMaxKeptRequestObjects are kept so; beyond that no exchange starts.
// Windows' object needs none of this; there it only defers a release.
#include "http/request_object_release.h"

#include <windows.h>

#include <deque>
#include <mutex>
#include <vector>

#include "http/exchange_refusal.h"
#include "runtime/automation_calls.h"

namespace {

constexpr uint64_t kSettleMs = 1000;
constexpr char kTooManyKept[] = "请求未发出：超时后仍未结束的请求对象过多";

struct Retired {
  AutomationObject object;
  uint64_t since;  // tick count
};

// What is kept lives until the process ends and is never destroyed: a static
// destructor would release COM objects after COM is gone.
struct Kept {
  std::mutex lock;
  std::deque<Retired> retired;    // oldest first
  std::vector<IUnknown*> forGood;  // cut off: never released
};
Kept& kept = *new Kept;

void KeepForGood(AutomationObject& request) {
  CallMethod(request, "Abort");
  const std::lock_guard lock(kept.lock);
  kept.forGood.push_back(request.iface);
  request.iface = nullptr;
}

// Keeps `request` and hands back those kept long enough to be released.
std::vector<AutomationObject> Retire(AutomationObject& request) {
  const uint64_t now = GetTickCount64();
  std::vector<AutomationObject> settled;
  const std::lock_guard lock(kept.lock);
  while (!kept.retired.empty() && now - kept.retired.front().since >= kSettleMs) {
    settled.push_back(std::move(kept.retired.front().object));
    kept.retired.pop_front();
  }
  kept.retired.push_back({std::move(request), now});
  return settled;
}

}  // namespace

bool RequestObjectMayStart() {
  const std::lock_guard lock(kept.lock);
  const bool full = kept.forGood.size() >= kMaxKeptRequestObjects;
  NoteExchangeRefusal(full ? kTooManyKept : nullptr);
  return !full;
}

void ReleaseRequestObject(AutomationObject& request, ExchangeEnd end) {
  switch (end) {
    case ExchangeEnd::Whole:
    case ExchangeEnd::Failed:
      Retire(request);  // the settled objects go here, outside the lock
      return;
    case ExchangeEnd::HeadersIn:
    case ExchangeEnd::CutOff:
    case ExchangeEnd::TooLong:
      KeepForGood(request);
      return;
  }
}

void ReleaseKeptRequestObjects() {
  std::deque<Retired> retired;
  {
    const std::lock_guard lock(kept.lock);
    retired.swap(kept.retired);
  }
  for (Retired& object : retired) {
    const uint64_t held = GetTickCount64() - object.since;
    if (held < kSettleMs) Sleep(static_cast<DWORD>(kSettleMs - held));
    ReleaseObject(object.object);
  }
}

void ForgetKeptRequestObjectsForTests() {
  const std::lock_guard lock(kept.lock);
  kept.forGood.clear();  // still never released
}
