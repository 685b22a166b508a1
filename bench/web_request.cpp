// Downloads a 64 MiB body from the local recording server with WebRequest
// and with curl, and prints both times and their ratio (target: within 2x).
#include "http/web_request.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "stopwatch.h"
#include "support/linux_process.h"
#include "support/record_server.h"

namespace {

constexpr size_t kBodySize = 64u << 20;
constexpr int kRounds = 5;

// Best of the rounds; a negative time when a download came back incomplete.
double TimeWebRequest(const std::string& url) {
  double best = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    double start = NowMilliseconds();
    Bytes body = WebRequest(url);
    double seconds = (NowMilliseconds() - start) / 1000;
    if (body.size() != kBodySize) return -1;
    best = std::min(best, seconds);
  }
  return best;
}

// curl is a Linux program: it reports its own total time through a file.
double TimeCurl(const std::string& url) {
  double best = 1e9;
  for (int round = 0; round < kRounds; ++round) {
    std::string result = ScratchPath("curl-time");
    std::string command = "/bin/sh -c \"curl -s -o /dev/null -w %{time_total} " + url + " > " + result + ".tmp && mv " +
                          result + ".tmp " + result + "\"";
    if (!StartLinuxProgram(command)) return -1;
    std::optional<std::string> seconds = WaitForFile(result, 60000);
    if (!seconds) return -1;
    best = std::min(best, std::atof(seconds->c_str()));
  }
  return best;
}

}  // namespace

int main() {
  RecordServer server;
  if (!server.ready()) {
    std::printf("the recording server did not start\n");
    return 1;
  }
  server.Script({.path = "/body", .bodySize = kBodySize});
  const std::string url = server.HttpUrl("/body");
  const double webRequest = TimeWebRequest(url);
  const double curl = TimeCurl(url);
  if (webRequest < 0 || curl < 0) {
    std::printf("a download failed (WebRequest %.3f s, curl %.3f s)\n", webRequest, curl);
    return 1;
  }
  const double mebibytes = static_cast<double>(kBodySize) / (1 << 20);
  std::printf("64 MiB body, best of %d\n", kRounds);
  std::printf("  WebRequest: %7.3f s  %7.1f MiB/s\n", webRequest, mebibytes / webRequest);
  std::printf("  curl:       %7.3f s  %7.1f MiB/s\n", curl, mebibytes / curl);
  std::printf("  ratio WebRequest/curl: %.2f (target <= 2)\n", webRequest / curl);
  return 0;
}
