// What exchanges given up at their deadline may hold is bounded: beyond a
// cap a new exchange fails at once and says why, a failing worker fails
// only its request, and a body declared too long is refused at its headers.
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <thread>
#include <vector>

#include "http/exchange_deadline.h"
#include "http/exchange_refusal.h"
#include "http/internet_request_run.h"
#include "http/request_object_release.h"
#include "http/web_request.h"
#include "http/web_request_object.h"
#include "runtime/heap.h"
#include "support/server_test.h"

namespace {

using Exchange = std::function<Bytes(const std::string& url)>;

struct Engine {
  const char* name;
  Exchange exchange;
  size_t cap;
};

const Engine kEngines[] = {
    {"WinINet", [](const std::string& url) { return WebRequest(url); }, kMaxGivenUpInternetWorkers},
    {"request object", [](const std::string& url) { return WebRequestObject(url); }, kMaxKeptRequestObjects},
};

class GivenUpExchangeTest : public ServerTest {
 protected:
  void TearDown() override { SetExchangeDeadlineForTests(0); }
};

TEST_F(GivenUpExchangeTest, BeyondTheCapNewExchangesFailAtOnceWithAReason) {
  constexpr uint32_t kStallSeconds = 4;
  for (const Engine& engine : kEngines) {
    SCOPED_TRACE(engine.name);
    server().Reset();
    server().Script({.path = "/stall", .body = "late", .delaySeconds = kStallSeconds});
    Serve("/page", "page");
    SetExchangeDeadlineForTests(300);
    std::vector<std::thread> exchanges;
    for (size_t i = 0; i < engine.cap; ++i) {
      exchanges.emplace_back([&] { engine.exchange(server().HttpUrl("/stall")); });
    }
    for (std::thread& exchange : exchanges) exchange.join();
    SetExchangeDeadlineForTests(0);

    const size_t received = server().Requests().size();
    const uint64_t start = GetTickCount64();
    EXPECT_TRUE(engine.exchange(server().HttpUrl("/page")).empty());
    EXPECT_LT(GetTickCount64() - start, 200u);
    EXPECT_FALSE(LastExchangeRefusal().empty());
    EXPECT_EQ(server().Requests().size(), received) << "nothing was sent";

    // Room comes back once the given-up exchanges have ended (WinINet) or
    // are forgotten (the request object keeps its objects for good).
    ForgetKeptRequestObjectsForTests();
    Sleep(kStallSeconds * 1000 + 1000);
    EXPECT_EQ(engine.exchange(server().HttpUrl("/page")).view(), "page");
    EXPECT_TRUE(LastExchangeRefusal().empty());
  }
}

TEST(InternetRequestRunTest, AFailingWorkerFailsOnlyItsRequest) {
  struct Case {
    const char* name;
    InternetRequestRun::Work work;
    bool succeeds;
  };
  const Case cases[] = {
      {"ends normally", [](InternetRequestRun&) {}, true},
      {"runtime heap exhausted", [](InternetRequestRun&) { RuntimeAllocRaw(SIZE_MAX / 2); }, false},
      {"throws", [](InternetRequestRun&) { throw std::runtime_error("worker"); }, false},
  };
  for (const Case& test : cases) {
    EXPECT_EQ(InternetRequestRun::Perform(test.work, ExchangeDeadline(5000)), test.succeeds) << test.name;
  }
}

TEST_F(GivenUpExchangeTest, ABodyDeclaredLongerThanTheLimitIsRefusedAtItsHeaders) {
  constexpr size_t kLimit = 1 << 20;
  server().Script({.path = "/huge", .bodySize = size_t{1} << 30});  // 1 GiB, far more than arrives
  const std::string url = server().HttpUrl("/huge");
  const Exchange exchanges[] = {
      [&](const std::string& u) { return WebRequest(u, {.bodyLimit = kLimit}); },
      [&](const std::string& u) { return WebRequestObject(u, {.bodyLimit = kLimit}); },
  };
  for (const Exchange& exchange : exchanges) {
    const uint64_t start = GetTickCount64();
    EXPECT_TRUE(exchange(url).empty());
    EXPECT_LT(GetTickCount64() - start, 2000u);  // reading the whole body takes far longer
  }
  ForgetKeptRequestObjectsForTests();
}

}  // namespace
