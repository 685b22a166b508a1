#include "app/batch_run.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#include "runtime/com_scope.h"
#include "runtime/heap.h"

namespace {

// A failure of the resolver itself (no memory, anything thrown) fails its
// share and leaves the others running.
ShareResult ResolveGuarded(const ShareResolver& resolve, const BatchShare& share) {
  try {
    const AllocationFailureThrows outOfMemoryFailsTheShare;
    return resolve(share);
  } catch (const std::bad_alloc&) {
    return {.errorText = "内存不足"};
  } catch (...) {
    return {.errorText = kNoReason};
  }
}

class Batch {
 public:
  Batch(const std::vector<BatchShare>& shares, const ShareResolver& resolve)
      : shares_(shares), resolve_(resolve), results_(shares.size()) {}

  // A worker: takes the next share until none is left.
  void Work() {
    ComScope com;
    for (size_t index; (index = next_++) < shares_.size();) {
      ShareResult result = ResolveGuarded(resolve_, shares_[index]);
      const std::lock_guard lock(lock_);
      results_[index] = std::move(result);
      done_.notify_one();
    }
  }

  // The writer: each result in order, once it is there.
  void Write(const ResultWriter& write) {
    for (size_t index = 0; index < shares_.size(); ++index) {
      std::unique_lock lock(lock_);
      done_.wait(lock, [&] { return results_[index].has_value(); });
      const ShareResult result = std::move(*results_[index]);
      lock.unlock();
      if (!write(index, result)) {
        next_ = shares_.size();  // the workers take no further share
        return;
      }
    }
  }

 private:
  const std::vector<BatchShare>& shares_;
  const ShareResolver& resolve_;
  std::atomic<size_t> next_{0};
  std::mutex lock_;
  std::condition_variable done_;
  std::vector<std::optional<ShareResult>> results_;
};

}  // namespace

void RunBatch(const std::vector<BatchShare>& shares, int jobs, const ShareResolver& resolve,
              const ResultWriter& write) {
  Batch batch(shares, resolve);
  std::vector<std::thread> workers;
  const size_t wanted = std::min(shares.size(), static_cast<size_t>(std::clamp(jobs, 1, kMaxBatchJobs)));
  try {
    while (workers.size() < wanted) workers.emplace_back([&batch] { batch.Work(); });
  } catch (const std::system_error&) {
    // Fewer threads than asked for: those that started do the work.
  }
  if (workers.empty()) batch.Work();  // not even one: this thread does it all
  batch.Write(write);
  for (std::thread& worker : workers) worker.join();
}
