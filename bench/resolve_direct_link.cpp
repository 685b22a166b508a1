// Resolves a framed share on the local double of the service, repeatedly,
// and compares with curl making the same four exchanges in the same run.
// Also times each stage of the pipeline on its own, to show what dominates.
#include "resolver/resolve_direct_link.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "http/web_request.h"
#include "http/web_request_object.h"
#include "resolver/redirect_probe.h"
#include "script/json_object.h"
#include "script/regex_object.h"
#include "stopwatch.h"
#include "support/linux_process.h"
#include "support/root_certificate.h"
#include "support/zorvo_double.h"

namespace {

constexpr int kRounds = 20;
constexpr char kShare[] = "framed";

struct Timing {
  double mean = 0;
  double best = 1e300;
};

Timing TimeRounds(const std::function<void()>& round) {
  Timing timing;
  for (int i = 0; i < kRounds; ++i) {
    double start = NowMilliseconds();
    round();
    double elapsed = NowMilliseconds() - start;
    timing.mean += elapsed / kRounds;
    timing.best = std::min(timing.best, elapsed);
  }
  return timing;
}

struct Exchange {
  std::string method, url, body;
};

std::vector<Exchange> ParseExchanges(const std::string& lines) {
  std::vector<Exchange> exchanges;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) {
    Exchange exchange;
    std::istringstream fields(line);
    std::getline(fields, exchange.method, '\t');
    std::getline(fields, exchange.url, '\t');
    std::getline(fields, exchange.body, '\t');
    exchanges.push_back(exchange);
  }
  return exchanges;
}

// curl makes the four exchanges of one resolution in one invocation per
// round (reusing connections as it likes) and reports its own times; the
// sum of a round's four transfers is that round's time.
Timing TimeCurl(const std::vector<Exchange>& exchanges) {
  std::string transfers;
  for (const Exchange& exchange : exchanges) {
    if (!transfers.empty()) transfers += " --next";
    transfers += " -sk -o /dev/null -w '%{time_total}\\n'";
    if (exchange.method == "POST") transfers += " --data-raw '" + exchange.body + "'";
    transfers += " '" + exchange.url + "'";
  }
  std::string result = ScratchPath("curl-times");
  std::string script = "for i in $(seq " + std::to_string(kRounds) + "); do curl" + transfers + "; done > " + result +
                       ".tmp && mv " + result + ".tmp " + result;
  Timing timing;
  std::string quoted;
  for (char c : script) quoted += c == '"' ? std::string("\\\"") : std::string(1, c);
  if (!StartLinuxProgram("/bin/sh -c \"" + quoted + "\"")) return timing;
  std::optional<std::string> times = WaitForFile(result, 120000);
  if (!times) return timing;
  std::istringstream in(*times);
  for (int round = 0; round < kRounds; ++round) {
    double sum = 0;
    for (size_t i = 0; i < exchanges.size(); ++i) {
      double seconds = 0;
      in >> seconds;
      sum += seconds * 1000;
    }
    timing.mean += sum / kRounds;
    timing.best = std::min(timing.best, sum);
  }
  return timing;
}

void Print(const char* what, const Timing& timing) {
  std::printf("%-44s mean %8.2f ms   best %8.2f ms\n", what, timing.mean, timing.best);
}

}  // namespace

int main() {
  ZorvoDouble& service = ZorvoDouble::Shared();
  if (!service.ready() || !TrustAsRootAuthority(service.CertificatePath())) {
    std::printf("the double did not start or its certificate could not be trusted\n");
    return 1;
  }
  std::optional<ZorvoShare> share = service.Share(kShare);
  std::vector<Exchange> exchanges = ParseExchanges(service.Exchanges(kShare));
  std::string baseSite = service.BaseSite();
  if (!share || exchanges.size() != 4) return 1;

  Text first = ResolveDirectLink(share->url.c_str(), {.baseSite = baseSite.c_str()});
  if (first.view() != share->link) {
    std::printf("resolution gave \"%s\", expected \"%s\"\n", first.c_str(), share->link.c_str());
    return 1;
  }

  std::printf("framed share, %d rounds each\n", kRounds);
  Timing pipeline = TimeRounds([&] { ResolveDirectLink(share->url.c_str(), {.baseSite = baseSite.c_str()}); });
  Timing curl = TimeCurl(exchanges);
  Print("ResolveDirectLink", pipeline);
  Print("curl, the same four exchanges", curl);
  std::printf("%-44s %8.2f ms per resolution\n", "pipeline overhead (mean minus curl's)", pipeline.mean - curl.mean);

  std::printf("stages on their own:\n");
  Print("  share page (WebRequest)", TimeRounds([&] { WebRequest(exchanges[0].url); }));
  Print("  frame page (WebRequestObject)", TimeRounds([&] { WebRequestObject(exchanges[1].url); }));
  Print("  endpoint (WebRequestObject, POST)", TimeRounds([&] {
          WebRequestObject(exchanges[2].url, {.method = 1, .body = exchanges[2].body});
        }));
  Print("  redirect probe (ProbeRedirect)", TimeRounds([&] { ProbeRedirect(exchanges[3].url); }));
  Print("  regex object made", TimeRounds([] { RegexObject regex; }));
  Print("  JSON object made (engine start)", TimeRounds([] { JsonObject json; }));
  return 0;
}
