// One zorvo-resolve process over a long batch: 2,000 shares with 8 jobs, a
// tenth of them on servers that misbehave (redirect loops, silent answers,
// dripping bodies, at every stage), with the tests' short exchange budget.
// The test build reports its private memory, working set, threads and
// handles after the first 200 shares and at the end. SOAK_FAULTS=TEXT keeps
// only the kinds of fault whose name holds TEXT (a TEXT none holds: a
// healthy batch).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "batch_support.h"

namespace {

constexpr int kShares = 2000;
constexpr int kFaultEvery = 10;
constexpr int kJobs = 8;
constexpr int kBudgetMs = 2000;  // each exchange's deadline, as in the fault tests
constexpr int kFirstStats = 200;

struct Stats {
  size_t lines = 0, privateBytes = 0, workingSet = 0;
  long threads = 0, handles = 0;
};

std::vector<Stats> ParseStats(const std::string& err) {
  std::vector<Stats> all;
  std::istringstream lines(err);
  for (std::string line; std::getline(lines, line);) {
    Stats stats;
    if (std::sscanf(line.c_str(), "stats %zu %zu %zu %ld %ld", &stats.lines, &stats.privateBytes, &stats.workingSet,
                    &stats.threads, &stats.handles) == 5) {
      all.push_back(stats);
    }
  }
  return all;
}

void Print(const char* when, const Stats& stats) {
  std::printf("%-22s %6zu lines  private %7.1f MB  working set %7.1f MB  threads %4ld  handles %5ld\n", when,
              stats.lines, stats.privateBytes / 1e6, stats.workingSet / 1e6, stats.threads, stats.handles);
}

}  // namespace

int main() {
  ZorvoDouble* service = TrustedDouble();
  if (!service) return 1;
  std::vector<std::string> healthy, faulty;
  for (const char* id : {"framed", "inline", "framed-pw", "chinese-inline"}) {
    std::optional<ZorvoShare> share = service->Share(id);
    if (!share) return 1;
    healthy.push_back(share->url + (share->password.empty() ? "" : "\t" + share->password));
  }
  for (const char* stage : {"share", "frame", "endpoint", "probe"}) {
    for (const char* mode : {"redirect-loop", "silent", "drip"}) {
      const std::string kind = std::string("fault-") + stage + "-" + mode;
      const char* only = std::getenv("SOAK_FAULTS");
      if (only && kind.find(only) == std::string::npos) continue;
      std::optional<ZorvoFault> fault = service->Fault(kind);
      if (!fault) return 1;
      faulty.push_back(fault->url);
    }
  }
  std::string lines;
  for (int i = 0; i < kShares; ++i) {
    lines += (i % kFaultEvery == kFaultEvery - 1 && !faulty.empty() ? faulty[(i / kFaultEvery) % faulty.size()]
                                                 : healthy[i % healthy.size()]) +
             "\n";
  }
  const std::string batch = WriteBatchFile("soak-batch.txt", lines);
  std::printf("%d shares, %d jobs, every %dth on a misbehaving server (%zu kinds), exchange budget %d ms\n", kShares,
              kJobs, kFaultEvery, faulty.size(), kBudgetMs);
  TimedRun timed = RunTimed(ZORVO_RESOLVE_TEST_EXE,
                            "--exchange-budget " + std::to_string(kBudgetMs) + " --stats-after " +
                                std::to_string(kFirstStats) + " --base-site " + service->BaseSite() + " --batch \"" +
                                batch + "\" --jobs " + std::to_string(kJobs));
  const std::string& out = timed.run.out;
  const long written = std::count(out.begin(), out.end(), '\n');
  size_t failed = 0;
  for (size_t at = 0; (at = out.find("\"link\":\"\"", at)) != std::string::npos; ++at) ++failed;
  std::printf("took %.1f s, exit %lu, %ld lines, %zu failed (expected %d)\n", timed.ms / 1000, timed.run.exitCode,
              written, failed, kShares / kFaultEvery);
  // The reasons of the failures, most frequent first.
  std::map<std::string, int> reasons;
  std::istringstream results(out);
  for (std::string line; std::getline(results, line);) {
    const size_t at = line.find("\"errorText\":\"");
    if (line.find("\"link\":\"\"") != std::string::npos && at != std::string::npos) {
      ++reasons[line.substr(at + 13, line.size() - at - 15)];
    }
  }
  for (const auto& [reason, count] : reasons) std::printf("  %5d x %s\n", count, reason.c_str());
  std::vector<Stats> stats = ParseStats(timed.run.err);
  if (stats.size() != 2) {
    std::printf("the test build reported no figures:\n%s\n", timed.run.err.c_str());
    return 1;
  }
  Print("after the first 200:", stats[0]);
  Print("at the end:", stats[1]);
  std::printf("growth: private %+.1f MB, working set %+.1f MB, threads %+ld, handles %+ld\n",
              (static_cast<double>(stats[1].privateBytes) - stats[0].privateBytes) / 1e6,
              (static_cast<double>(stats[1].workingSet) - stats[0].workingSet) / 1e6,
              stats[1].threads - stats[0].threads, stats[1].handles - stats[0].handles);
  return 0;
}
