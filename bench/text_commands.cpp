// FindText, ReplaceText, SplitText and ConcatTexts on 1 MiB texts against
// the same work done with std::string_view and std::string on the same data.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/heap.h"
#include "runtime/text_compare.h"
#include "runtime/text_search.h"
#include "stopwatch.h"

namespace {

constexpr size_t kTextSize = 1 << 20;
constexpr int kRounds = 25;

// Best time of several rounds, in milliseconds; the two sides alternate so
// that a change in the machine's load touches both alike.
void Compare(const char* name, const std::function<size_t()>& ours, const std::function<size_t()>& standard) {
  double ourBest = 1e300;
  double standardBest = 1e300;
  bool same = true;
  for (int round = 0; round < kRounds; ++round) {
    double begin = NowMilliseconds();
    size_t ourCheck = ours();
    double middle = NowMilliseconds();
    size_t standardCheck = standard();
    double end = NowMilliseconds();
    ourBest = std::min(ourBest, middle - begin);
    standardBest = std::min(standardBest, end - middle);
    same = same && ourCheck == standardCheck;
  }
  std::printf("%-34s %9.3f ms  std %9.3f ms  ratio %5.2f%s\n", name, ourBest, standardBest, ourBest / standardBest,
              same ? "" : "  RESULTS DIFFER");
}

// What splitting into many small pieces cannot avoid: each piece is its own
// runtime-heap block, where std::string keeps short pieces inside itself.
void ReportHeapFloor(const char* name, size_t pieces) {
  std::vector<void*> blocks(pieces);
  double best = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    double begin = NowMilliseconds();
    for (void*& block : blocks) block = RuntimeAllocRaw(12);
    for (void* block : blocks) RuntimeFree(block);
    best = std::min(best, NowMilliseconds() - begin);
  }
  std::printf("  %s: %zu pieces; allocating and releasing as many heap blocks alone takes %.3f ms\n", name, pieces,
              best);
}

// Lines of ASCII fields and two-byte characters, cut to the size.
std::string MakeText(std::string_view line) {
  std::string text;
  while (text.size() + line.size() <= kTextSize) text += line;
  return text;
}

// The std way of replacing every occurrence: find and append.
std::string StdReplace(std::string_view source, std::string_view find, std::string_view replacement) {
  std::string out;
  size_t from = 0;
  for (size_t at = source.find(find); at != std::string_view::npos; at = source.find(find, from)) {
    out.append(source.substr(from, at - from)).append(replacement);
    from = at + find.size();
  }
  return out.append(source.substr(from));
}

std::vector<std::string> StdSplit(std::string_view source, std::string_view delimiter) {
  std::vector<std::string> pieces;
  size_t from = 0;
  for (size_t at = source.find(delimiter); at != std::string_view::npos; at = source.find(delimiter, from)) {
    pieces.emplace_back(source.substr(from, at - from));
    from = at + delimiter.size();
  }
  if (from < source.size()) pieces.emplace_back(source.substr(from));
  return pieces;
}

}  // namespace

int main() {
  const std::string mixed = MakeText("name=张三,city=北京,id=12345,note=普通用户;\r\n");
  const std::string ascii = MakeText("GET /share/abcdef?pwd=1234 HTTP/1.1, host: example, size=42;\r\n");
  std::printf("text size %zu bytes, best of %d rounds\n", mixed.size(), kRounds);

  for (const auto& [label, text] : {std::pair{"mixed", &mixed}, std::pair{"ascii", &ascii}}) {
    const char* data = text->c_str();
    std::string_view view = *text;
    std::printf("-- %s text\n", label);
    Compare("FindText (absent)", [&] { return static_cast<size_t>(FindText(data, "missing")); },
            [&] { return view.find("missing") == std::string_view::npos ? static_cast<size_t>(-1) : 0; });
    Compare("FindText (absent, ignore case)", [&] { return static_cast<size_t>(FindText(data, "Missing", {}, true)); },
            [&] { return view.find("missing") == std::string_view::npos ? static_cast<size_t>(-1) : 0; });
    Compare("ReplaceText (every ';')", [&] { return ReplaceText(data, ";", "; ").size(); },
            [&] { return StdReplace(view, ";", "; ").size(); });
    Compare("ReplaceText (every '=' removed)", [&] { return ReplaceText(data, "=", nullptr).size(); },
            [&] { return StdReplace(view, "=", "").size(); });
    Compare("SplitText (',')", [&] { return SplitText(data).size(); }, [&] { return StdSplit(view, ",").size(); });
    ReportHeapFloor("SplitText (',')", SplitText(data).size());
    Compare("SplitText (lines)", [&] { return SplitText(data, "\r\n").size(); },
            [&] { return StdSplit(view, "\r\n").size(); });
  }

  // Sixteen 64 KiB parts joined into 1 MiB.
  const std::string part(kTextSize / 16, 'x');
  std::vector<const char*> parts(16, part.c_str());
  Compare("ConcatTexts (16 x 64 KiB)", [&] { return ConcatTexts(parts).size(); },
          [&] {
            std::string joined;
            for (const char* p : parts) joined += p;
            return joined.size();
          });
  return 0;
}
