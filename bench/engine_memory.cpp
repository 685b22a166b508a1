// The private memory each exchange of a resolution leaves behind, stage by
// stage against the double, and that of whole resolutions: growth that stays
// with the process is memory a long batch (see soak) loses for good.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "http/request_object_release.h"
#include "http/web_request.h"
#include "http/web_request_object.h"
#include "resolver/redirect_probe.h"
#include "resolver/resolve_direct_link.h"
#include "runtime/com_scope.h"
#include "support/root_certificate.h"
#include "support/zorvo_double.h"

namespace {

constexpr int kRounds = 200;
constexpr int kWarmUpRounds = 20;  // caches and pools are filled first
constexpr int kSideBySide = 8;

size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  // Wine 8.0 leaves PrivateUsage 0; its PagefileUsage is the same figure.
  return memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
}

// Growth per round, once the request objects let go meanwhile have settled.
void Measure(const char* name, int exchangesPerRound, const std::function<void()>& round) {
  for (int i = 0; i < kWarmUpRounds; ++i) round();
  ReleaseKeptRequestObjects();
  const size_t before = PrivateBytes();
  for (int i = 0; i < kRounds; ++i) round();
  ReleaseKeptRequestObjects();
  const double growth = static_cast<double>(PrivateBytes()) - before;
  std::printf("%-40s %+7.1f KB per exchange\n", name, growth / kRounds / exchangesPerRound / 1024);
}

// One resolution's exchanges: method, URL and body, tab-separated.
std::vector<std::vector<std::string>> ParseExchanges(const std::string& lines) {
  std::vector<std::vector<std::string>> exchanges;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    std::vector<std::string> fields(3);
    std::istringstream parts(line);
    for (std::string& field : fields) std::getline(parts, field, '\t');
    exchanges.push_back(fields);
  }
  return exchanges;
}

}  // namespace

int main() {
  ZorvoDouble& service = ZorvoDouble::Shared();
  if (!service.ready() || !TrustAsRootAuthority(service.CertificatePath())) {
    std::printf("the double did not start or its certificate could not be trusted\n");
    return 1;
  }
  const ComScope com;
  const std::string share = service.Share("framed")->url, base = service.BaseSite();
  const auto exchanges = ParseExchanges(service.Exchanges("framed"));
  if (exchanges.size() != 4) return 1;
  const std::string &sharePage = exchanges[0][1], &framePage = exchanges[1][1], &endpoint = exchanges[2][1],
                    &form = exchanges[2][2], &download = exchanges[3][1];
  std::printf("%d rounds each, after %d to warm up\n", kRounds, kWarmUpRounds);
  Measure("share page (WebRequest)", 1, [&] { WebRequest(sharePage); });
  Measure("frame page (WebRequestObject)", 1, [&] { WebRequestObject(framePage); });
  Measure("endpoint (WebRequestObject, POST)", 1, [&] { WebRequestObject(endpoint, {.method = 1, .body = form}); });
  Measure("the 302 (WebRequestObject, no redirect)", 1, [&] { WebRequestObject(download, {.noRedirect = true}); });
  Measure("redirect probe (ProbeRedirect)", 1, [&] { ProbeRedirect(download); });
  Measure("resolution (ResolveDirectLink)", 4, [&] { ResolveDirectLink(share.c_str(), {.baseSite = base.c_str()}); });
  Measure("8 resolutions side by side", 4 * kSideBySide, [&] {
    std::vector<std::thread> jobs;
    for (int i = 0; i < kSideBySide; ++i) {
      jobs.emplace_back([&] {
        const ComScope jobCom;
        ResolveDirectLink(share.c_str(), {.baseSite = base.c_str()});
      });
    }
    for (std::thread& job : jobs) job.join();
  });
  return 0;
}
