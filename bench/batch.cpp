// Resolutions per second of one zorvo-resolve --batch process, for 1 to 16
// jobs, with the double answering at once and after 50 and 200 ms per
// answer. A run's time less that of a run over an empty batch (the
// process's own start and end) is the batch's; the rates are of that time.
// At 0 ms it also compares the in-process cost of a resolution with a
// fresh process per share.
#include <cstdio>
#include <string>

#include "batch_support.h"

namespace {

constexpr int kShares = 32;
constexpr int kFreshRuns = 5;
constexpr int kLatenciesMs[] = {0, 50, 200};
constexpr int kJobs[] = {1, 2, 4, 8, 16};

}  // namespace

int main() {
  ZorvoDouble* service = TrustedDouble();
  if (!service) return 1;
  const std::optional<ZorvoShare> share = service->Share("framed");
  if (!share) return 1;
  std::string lines;
  for (int i = 0; i < kShares; ++i) lines += share->url + "\n";
  const std::string batch = WriteBatchFile("bench-batch.txt", lines);
  const std::string empty = WriteBatchFile("bench-empty.txt", "# none\n");
  const std::string site = "--base-site " + service->BaseSite();

  // The process's own start and end, the best of three.
  double startupMs = 1e300;
  for (int i = 0; i < 3; ++i) startupMs = std::min(startupMs, RunTimed(ZORVO_RESOLVE_EXE, site + " --batch \"" + empty + "\"").ms);
  std::printf("%d shares (\"framed\", 4 exchanges each) per run; process start and end %.0f ms, taken off\n",
              kShares, startupMs);
  std::printf("%-12s", "latency");
  for (int jobs : kJobs) std::printf("  jobs %-2d/s", jobs);
  std::printf("  jobs 8 : jobs 1\n");

  double perResolutionAt0 = 0;
  for (int latency : kLatenciesMs) {
    service->SetLatency(latency);
    std::printf("%6d ms   ", latency);
    double rateOfOne = 0, rateOfEight = 0;
    for (int jobs : kJobs) {
      TimedRun timed = RunTimed(ZORVO_RESOLVE_EXE, site + " --batch \"" + batch + "\" --jobs " + std::to_string(jobs));
      const double batchMs = std::max(1.0, timed.ms - startupMs);
      const double rate = timed.run.exitCode == 0 ? kShares * 1000.0 / batchMs : 0;
      if (jobs == 1) rateOfOne = rate, perResolutionAt0 = latency == 0 ? batchMs / kShares : perResolutionAt0;
      if (jobs == 8) rateOfEight = rate;
      std::printf("  %10.2f%s", rate, timed.run.exitCode == 0 ? "" : "!");
    }
    std::printf("  %8.2f\n", rateOfOne > 0 ? rateOfEight / rateOfOne : 0);
  }
  service->SetLatency(0);

  double freshMs = 0;
  for (int i = 0; i < kFreshRuns; ++i) freshMs += RunTimed(ZORVO_RESOLVE_EXE, site + " " + share->url).ms / kFreshRuns;
  std::printf("at 0 ms, one resolution: %.1f ms in a batch (jobs 1), %.1f ms as a fresh process\n",
              perResolutionAt0, freshMs);
  std::printf("(a rate marked ! is of a run in which a share failed)\n");
  return 0;
}
