// The resolver against a double that misbehaves at one stage at a time:
// each run ends by its deadline with the failure a failed request gives at
// that stage. Every exchange gets a short deadline here, and the runs go
// side by side, so the table takes seconds.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

#include "http/exchange_deadline.h"
#include "resolver/resolve_direct_link.h"
#include "support/double_test.h"

namespace {

constexpr uint32_t kBudgetMs = 2000;  // each exchange's deadline in these runs
// For the stages that answer, the object's whole-second waits and a loaded machine.
constexpr uint32_t kMarginMs = 2000;
constexpr size_t kSideBySide = 6;

constexpr char kNoEndpointPath[] = "获取失败：获取二级跳转链接为空！";
constexpr char kEndpointRefused[] = "获取失败：获取三级跳转链接为空！\r\n";

enum class Outcome {
  E1,      // no page to read the endpoint from
  E3,      // no answer from the endpoint
  NoLink,  // the probe found no Location: no link, no reason
  Link,    // the probe read the Location from the headers alone
};

struct FaultCase {
  const char* stage;
  const char* mode;
  Outcome outcome;
};

constexpr FaultCase kCases[] = {
    {"share", "silent", Outcome::E1},
    {"share", "headers-only", Outcome::E1},
    {"share", "drip", Outcome::E1},
    {"share", "short-open", Outcome::E1},
    {"share", "chunked-open", Outcome::E1},
    {"share", "continue-only", Outcome::E1},
    {"share", "redirect-loop", Outcome::E1},
    {"share", "tls-plain", Outcome::E1},
    {"share", "full-queue", Outcome::E1},
    {"frame", "silent", Outcome::E1},
    {"frame", "headers-only", Outcome::E1},
    {"frame", "drip", Outcome::E1},
    {"frame", "short-open", Outcome::E1},
    {"frame", "chunked-open", Outcome::E1},
    {"frame", "continue-only", Outcome::E1},
    {"frame", "redirect-loop", Outcome::E1},
    {"frame", "tls-plain", Outcome::E1},
    {"frame", "full-queue", Outcome::E1},
    {"endpoint", "silent", Outcome::E3},
    {"endpoint", "drip", Outcome::E3},
    {"endpoint", "chunked-open", Outcome::E3},
    {"endpoint", "redirect-loop", Outcome::E3},
    {"probe", "silent", Outcome::NoLink},
    {"probe", "headers-only", Outcome::Link},
    {"probe", "drip", Outcome::Link},
    {"probe", "continue-only", Outcome::NoLink},
    {"probe", "redirect-loop", Outcome::Link},
    {"probe", "tls-plain", Outcome::NoLink},
    {"probe", "full-queue", Outcome::NoLink},
};

struct FaultRun {
  ZorvoFault fault;
  std::string link, errorText;
  uint64_t ms = 0;
};

void Resolve(FaultRun& run) {
  Text errorText;
  const uint64_t start = GetTickCount64();
  Text link =
      ResolveDirectLink(run.fault.url.c_str(), {.errorText = errorText, .baseSite = run.fault.baseSite.c_str()});
  run.ms = GetTickCount64() - start;
  run.link = link.view();
  run.errorText = errorText.view();
}

class FaultTableTest : public DoubleTest {
 protected:
  void SetUp() override { SetExchangeDeadlineForTests(kBudgetMs); }
  void TearDown() override { SetExchangeDeadlineForTests(0); }
};

TEST_F(FaultTableTest, EveryFaultEndsByItsDeadlineWithItsStagesFailure) {
  std::vector<FaultRun> runs(std::size(kCases));
  for (size_t i = 0; i < runs.size(); ++i) {
    std::optional<ZorvoFault> fault = Double().Fault(std::string("fault-") + kCases[i].stage + "-" + kCases[i].mode);
    ASSERT_TRUE(fault) << kCases[i].stage << " " << kCases[i].mode;
    runs[i].fault = *fault;
  }
  for (size_t first = 0; first < runs.size(); first += kSideBySide) {
    std::vector<std::thread> threads;
    for (size_t i = first; i < std::min(first + kSideBySide, runs.size()); ++i)
      threads.emplace_back(Resolve, std::ref(runs[i]));
    for (std::thread& thread : threads) thread.join();
  }
  for (size_t i = 0; i < runs.size(); ++i) {
    const FaultCase& test = kCases[i];
    const FaultRun& run = runs[i];
    SCOPED_TRACE(std::string(test.stage) + " " + test.mode + ": " + std::to_string(run.ms) + " ms");
    EXPECT_LT(run.ms, kBudgetMs + kMarginMs);
    EXPECT_EQ(run.link, test.outcome == Outcome::Link ? run.fault.link : "");
    const char* reason = test.outcome == Outcome::E1   ? kNoEndpointPath
                         : test.outcome == Outcome::E3 ? kEndpointRefused
                                                       : "";
    EXPECT_EQ(run.errorText, reason);
  }
}

}  // namespace
