// Resolves a framed share on the local double of the service, repeatedly,
// and compares with curl making the same four exchanges in the same run.
// Also times each stage of the pipeline on its own, to show what dominates,
// and resolves large and hostile pages, each once in a process of its own,
// for the time and the peak memory of one resolution.
#include "resolver/resolve_direct_link.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "http/code_page.h"
#include "http/marker_text.h"
#include "http/web_request.h"
#include "http/web_request_object.h"
#include "resolver/redirect_probe.h"
#include "runtime/text_search.h"
#include "script/json_object.h"
#include "script/regex_object.h"
#include "stopwatch.h"
#include "support/linux_process.h"
#include "support/root_certificate.h"
#include "support/windows_process.h"
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

constexpr char kOnceOption[] = "--once";
constexpr unsigned long kOnceTimeoutMs = 60000;

// The child's side: one resolution, then "<ok|failed> <ms> <peak MB>" where
// the peak is the working set's high mark above what the process held before.
int ResolveOnce(const char* url, const char* baseSite) {
  PROCESS_MEMORY_COUNTERS before{}, after{};
  GetProcessMemoryInfo(GetCurrentProcess(), &before, sizeof before);
  double start = NowMilliseconds();
  Text link = ResolveDirectLink(url, {.baseSite = baseSite});
  double elapsed = NowMilliseconds() - start;
  GetProcessMemoryInfo(GetCurrentProcess(), &after, sizeof after);
  std::printf("%s %.0f %.1f\n", link.empty() ? "failed" : "ok", elapsed,
              static_cast<double>(after.PeakWorkingSetSize - before.WorkingSetSize) / 1e6);
  return 0;
}

std::string OwnPath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, length);
}

// The double makes a page on its first request: the share page and its frame
// page are fetched once so that making them is not measured.
void WarmPages(const std::string& url, const std::string& baseSite) {
  Text page = Utf8BytesToText(WebRequest(url));
  page = ReplaceText(page.get(), "src=\"/fn?v2\"", EmptyText);
  Text framePath = TextBetween(page.get(), "src=\"/fn", "\"");
  WebRequestObject(baseSite + "/fn" + std::string(framePath.view()));
}

// Sized share pages of the double (see its "sized pages"), each resolved once
// in a fresh process.
// One resolution in a fresh process, by the --once mode; nothing when it
// timed out or printed nothing.
struct OnceResult {
  bool linked = false;
  double ms = 0;
  double peakMb = 0;
};
std::optional<OnceResult> ResolveInChild(const std::string& url, const std::string& baseSite) {
  std::string commandLine = "\"";
  commandLine += OwnPath() + "\" " + kOnceOption + " " + url + " " + baseSite;
  ProgramRun run = RunWindowsProgram(commandLine, {.timeoutMs = kOnceTimeoutMs});
  char outcome[16] = {};
  OnceResult result;
  if (run.timedOut || std::sscanf(run.out.c_str(), "%15s %lf %lf", outcome, &result.ms, &result.peakMb) != 3) {
    return std::nullopt;
  }
  result.linked = std::string(outcome) == "ok";
  return result;
}

// Sized share pages of the double (see its "sized pages"): the best of three
// resolutions, each in a fresh process.
void ResolveSizedPages(const std::string& baseSite) {
  struct Case {
    const char* kind;
    double megabytes;
  };
  const Case cases[] = {{"normal", 0.065536},       {"normal", 1.048576},       {"normal", 20.97152},
                        {"normal", 22.7},           {"normal", 50},             {"hostile-name", 0.065536},
                        {"hostile-name", 1.048576}, {"hostile-name", 20.97152}, {"hostile-size", 0.065536},
                        {"hostile-size", 1.048576}, {"hostile-size", 20.97152}, {"hostile-sign", 0.065536},
                        {"hostile-sign", 1.048576}, {"hostile-sign", 20.97152}};
  std::printf("one resolution per process, best of 3 (hostile-sign: the frame page is the large one):\n");
  std::printf("  %-14s %9s %11s %9s %11s %9s\n", "page", "MB", "time ms", "s/MB", "peak MB", "peak/page");
  for (const Case& page : cases) {
    std::string url = baseSite + "/sized/" + page.kind + "/" + std::to_string(std::lround(page.megabytes * 1e6));
    WarmPages(url, baseSite);
    std::optional<OnceResult> best;
    for (int round = 0; round < 3; ++round) {
      std::optional<OnceResult> result = ResolveInChild(url, baseSite);
      if (!result) break;  // a page that takes too long is not tried again
      if (!best || result->ms < best->ms) best = result;
    }
    if (!best) {
      std::printf("  %-14s %9.3f   > %7lu ms (ended)\n", page.kind, page.megabytes, kOnceTimeoutMs);
      continue;
    }
    std::printf("  %-14s %9.3f %11.0f %9.3f %11.1f %9.2f%s\n", page.kind, page.megabytes, best->ms,
                best->ms / 1000 / page.megabytes, best->peakMb, best->peakMb / page.megabytes,
                best->linked ? "" : "   (no link)");
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == kOnceOption) return ResolveOnce(argv[2], argv[3]);
  ZorvoDouble& service = ZorvoDouble::Shared();
  if (!service.ready() || !TrustAsRootAuthority(service.CertificatePath())) {
    std::printf("the double did not start or its certificate could not be trusted\n");
    return 1;
  }
  std::optional<ZorvoShare> share = service.Share(kShare);
  std::vector<Exchange> exchanges = ParseExchanges(service.Exchanges(kShare));
  std::string baseSite = service.BaseSite();
  if (argc == 2 && std::string(argv[1]) == "--sized-only") {
    ResolveSizedPages(baseSite);
    return 0;
  }
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
  ResolveSizedPages(baseSite);
  return 0;
}
