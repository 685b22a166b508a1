// Running a batch of shares: each share is a job with its own inputs, taken
// by one of a fixed number of workers, each worker a thread with its own COM
// apartment; the calling thread is the one writer and hands the results on
// in the batch's order, each as soon as it and every share before it are done.
#pragma once
#include <cstddef>
#include <functional>
#include <vector>

#include "app/batch_file.h"
#include "app/resolve_share.h"

// Resolutions in flight at once: at most, and when the command names none.
inline constexpr int kMaxBatchJobs = 16;
inline constexpr int kDefaultBatchJobs = 4;

// Resolves one share on a worker thread; what it throws fails that share.
using ShareResolver = std::function<ShareResult(const BatchShare&)>;
// Takes the result of shares[index] on the calling thread; false stops the
// batch (no further share is started, and none is written).
using ResultWriter = std::function<bool(size_t index, const ShareResult&)>;

// Returns once every started share is done and every worker has ended.
void RunBatch(const std::vector<BatchShare>& shares, int jobs, const ShareResolver& resolve,
              const ResultWriter& write);
