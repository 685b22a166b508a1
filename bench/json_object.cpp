// The resolver's use of the JSON object: parse the download endpoint's answer
// (1 KiB) and read "zt", "inf", "dom" and "url". Prints the time of one such
// round and how much of it goes into the fresh engine every Parse starts.
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "script/json_literal_check.h"
#include "script/json_object.h"
#include "stopwatch.h"

namespace {

constexpr int kRounds = 100;
constexpr double kTargetMilliseconds = 20.0;

std::string MakeAnswer() {
  std::string answer =
      R"({"zt":1,"info":"sucess","dom":"https:\/\/dl.example.com","inf":"季度报告（最终版）.zip",)"
      R"("url":"?fn=report.zip&sign=)";
  while (answer.size() < 900) answer += "A1b2C3d4";
  answer += R"(","size":"12.5 M","time":"2020-07-20 20:00:00","extra":{"list":[1,2,3],"ok":true},"pad":")";
  answer.append(1024 - 2 - answer.size(), 'x');
  return answer + "\"}";
}

struct Timing {
  double mean;
  double best;
};

Timing Measure(const std::function<void()>& work) {
  double total = 0, best = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    double begin = NowMilliseconds();
    work();
    double spent = NowMilliseconds() - begin;
    total += spent;
    best = std::min(best, spent);
  }
  return {total / kRounds, best};
}

void Print(const char* name, Timing timing) {
  std::printf("%-44s mean %8.3f ms  best %8.3f ms\n", name, timing.mean, timing.best);
}

}  // namespace

int main() {
  const std::string answer = MakeAnswer();
  JsonObject json;
  bool correct = true;
  auto round = [&] {
    correct = json.Parse(answer.c_str()) && correct;
    correct = json.GetText("zt").view() == "1" && correct;
    correct = !json.GetText("inf").empty() && correct;
    correct = json.GetText("dom").view() == "https://dl.example.com" && correct;
    correct = !json.GetText("url").empty() && correct;
  };
  round();  // warm-up: loads the engine's libraries once

  std::printf("answer: %zu bytes, %d rounds\n", answer.size(), kRounds);
  Timing whole = Measure(round);
  Timing restart = Measure([&] { json.Start(); });
  json.Parse(answer.c_str());
  Timing reads = Measure([&] {
    for (const char* member : {"zt", "inf", "dom", "url"}) json.GetText(member);
  });
  Timing check = Measure([&] { CheckLiteralText(answer, LiteralUse::EvalArgument); });
  Timing build = Measure([] { JsonObject fresh; });

  Print("round: Parse + four GetText", whole);
  Print("  engine restart (Start)", restart);
  Print("  four GetText", reads);
  Print("  literal check of the answer", check);
  Print("new JsonObject (the resolver makes one)", build);
  std::printf("restart share of a round: %.0f %%\n", 100.0 * restart.mean / whole.mean);
  std::printf("target: under %.0f ms per round: %s%s\n", kTargetMilliseconds,
              whole.mean < kTargetMilliseconds ? "met" : "NOT MET", correct ? "" : "  WRONG RESULTS");
  return correct ? 0 : 1;
}
