#include "http/internet_request_run.h"

#include <utility>

#include "http/exchange_refusal.h"
#include "runtime/heap.h"

namespace {

constexpr DWORD kWorkerStack = 256 * 1024;
constexpr char kTooManyGivenUp[] = "请求未发出：超时后仍未结束的请求过多";

// Workers given up at their deadline that have not ended yet.
std::atomic<int> givenUpWorkers{0};

}  // namespace

InternetRequestRun::InternetRequestRun(Work work)
    : work_(std::move(work)), tooManyRedirects_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

InternetRequestRun::~InternetRequestRun() {
  if (tooManyRedirects_) CloseHandle(tooManyRedirects_);
}

bool InternetRequestRun::Perform(Work work, const ExchangeDeadline& deadline) {
  if (givenUpWorkers >= kMaxGivenUpInternetWorkers) {
    NoteExchangeRefusal(kTooManyGivenUp);
    return false;
  }
  NoteExchangeRefusal(nullptr);
  std::shared_ptr<InternetRequestRun> run(new InternetRequestRun(std::move(work)));
  if (!run->tooManyRedirects_) return false;
  auto* workerShare = new std::shared_ptr<InternetRequestRun>(run);  // the worker's own reference
  HANDLE thread =
      CreateThread(nullptr, kWorkerStack, ThreadMain, workerShare, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) {
    delete workerShare;
    return false;
  }
  const HANDLE ends[] = {thread, run->tooManyRedirects_};
  const bool inTime = WaitForMultipleObjects(2, ends, FALSE, deadline.RemainingMs()) == WAIT_OBJECT_0;
  CloseHandle(thread);
  if (inTime) return !run->failed_ && run->redirects_ <= kMaxRedirects;
  run->GiveUp();
  run->CloseRequest();
  return false;
}

// Counted from the moment the caller gives up until the worker ends; the
// one that comes second of the two settles the count.
void InternetRequestRun::GiveUp() {
  ++givenUpWorkers;
  Stage running = Stage::Running;
  if (!stage_.compare_exchange_strong(running, Stage::GivenUp)) --givenUpWorkers;  // ended meanwhile
}

void InternetRequestRun::End() {
  Stage running = Stage::Running;
  if (!stage_.compare_exchange_strong(running, Stage::Ended)) --givenUpWorkers;
}

DWORD WINAPI InternetRequestRun::ThreadMain(void* parameter) {
  const std::unique_ptr<std::shared_ptr<InternetRequestRun>> share(
      static_cast<std::shared_ptr<InternetRequestRun>*>(parameter));
  InternetRequestRun& run = **share;
  try {
    // Exhausted memory here fails this request, not the program.
    const AllocationFailureThrows throws;
    run.work_(run);
  } catch (...) {
    run.failed_ = true;
  }
  run.End();
  return 0;
}

void InternetRequestRun::CountRedirects(HINTERNET root) { InternetSetStatusCallbackA(root, StatusCallback); }

void InternetRequestRun::SetRequest(HINTERNET request) {
  const std::lock_guard lock(requestLock_);
  if (requestClosed_) {
    InternetCloseHandle(request);  // given up already: the work's calls fail from here on
  } else {
    request_ = request;
  }
}

void InternetRequestRun::CloseRequest() {
  const std::lock_guard lock(requestLock_);
  if (request_) InternetCloseHandle(request_);
  request_ = nullptr;
  requestClosed_ = true;
}

void CALLBACK InternetRequestRun::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, void*, DWORD) {
  if (status != INTERNET_STATUS_REDIRECT || !context) return;
  auto* run = reinterpret_cast<InternetRequestRun*>(context);
  if (++run->redirects_ <= kMaxRedirects) return;
  SetEvent(run->tooManyRedirects_);
  // Wine's WinINet goes on redirecting for as long as the server asks, and
  // nothing from outside ends that loop; this thread stays here instead, its
  // caller long gone, until the program ends.
  Sleep(INFINITE);
}
