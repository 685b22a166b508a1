// The private memory each part of a resolution leaves behind: every stage
// against the double and the script objects, eight side by side (as a batch
// runs them) and one at a time, then whole resolutions. Growth that stays
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
#include "script/json_object.h"
#include "script/regex_object.h"
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

// Growth per run of a part, once the request objects let go meanwhile have
// settled.
void Measure(const char* name, const std::function<void()>& round, int runsPerRound) {
  for (int i = 0; i < kWarmUpRounds; ++i) round();
  ReleaseKeptRequestObjects();
  const size_t before = PrivateBytes();
  for (int i = 0; i < kRounds; ++i) round();
  ReleaseKeptRequestObjects();
  const double growth = static_cast<double>(PrivateBytes()) - before;
  std::printf("%-40s x%d  %+7.1f KB each\n", name, runsPerRound, growth / kRounds / runsPerRound / 1024);
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
  const auto sideBySide = [](const std::function<void()>& part) {
    return [part] {
      std::vector<std::thread> jobs;
      for (int i = 0; i < kSideBySide; ++i) {
        jobs.emplace_back([&] {
          const ComScope jobCom;
          part();
        });
      }
      for (std::thread& job : jobs) job.join();
    };
  };
  const std::string page(WebRequestObject(framePage).view());
  struct Part {
    const char* name;
    std::function<void()> run;
  };
  const Part parts[] = {
      {"nothing but COM (x8: on threads of their own)", [] {}},
      {"share page (WebRequest)", [&] { WebRequest(sharePage); }},
      {"frame page (WebRequestObject)", [&] { WebRequestObject(framePage); }},
      {"endpoint (WebRequestObject, POST)", [&] { WebRequestObject(endpoint, {.method = 1, .body = form}); }},
      {"the 302 (WebRequestObject, no redirect)", [&] { WebRequestObject(download, {.noRedirect = true}); }},
      {"redirect probe (ProbeRedirect)", [&] { ProbeRedirect(download); }},
      {"regex object, 2 searches", [&] {
         RegexObject regex;
         regex.Search("sign'?\\s*:\\s*'([^']+)'", page.c_str());
         regex.Search("action=([a-z_]+)", page.c_str());
       }},
      {"JSON object, parse and 4 reads", [] {
         JsonObject json;
         json.Parse("{\"zt\":1,\"dom\":\"https://h\",\"url\":\"?abc\",\"inf\":\"file.bin\"}");
         for (const char* key : {"zt", "inf", "dom", "url"}) json.GetText(key);
       }},
      {"resolution (ResolveDirectLink)", [&] { ResolveDirectLink(share.c_str(), {.baseSite = base.c_str()}); }},
  };
  for (const Part& part : parts) {
    Measure(part.name, part.run, 1);
    Measure(part.name, sideBySide(part.run), kSideBySide);
  }
  return 0;
}
