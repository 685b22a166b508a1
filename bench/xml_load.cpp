// LoadXmlText on a 16 MiB document: throughput in MB/s of input and the
// memory the load takes (the document's private heap and the process's peak).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "stopwatch.h"
#include "xml/xml_document.h"

namespace {

constexpr size_t kDocumentSize = 16 << 20;
constexpr int kRounds = 10;
constexpr double kTargetMegabytesPerSecond = 100.0;

// A catalogue of records with attributes, entities, comments, CDATA and
// non-ASCII text, in UTF-8 (declared) or GBK (undeclared).
std::string MakeDocument(bool utf8) {
  std::string document = utf8 ? "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<catalog>\n" : "<catalog>\n";
  const char* chinese = utf8 ? "\xe4\xb8\xad\xe6\x96\x87" : "\xd6\xd0\xce\xc4";
  for (int id = 0; document.size() < kDocumentSize - 600; ++id) {
    std::string n = std::to_string(id);
    document += "  <item id=\"" + n + "\" name='Item " + n + "' price=\"12.50\" available=\"yes\">\n"
                "    <title>Title &amp; subtitle " + n + "</title>\n"
                "    <description>Plain text, " + chinese + ", and &lt;escaped&gt; markup of item " + n +
                ".</description>\n"
                "    <!-- remark " + n + " -->\n"
                "    <data><![CDATA[raw <data> & more " + n + "]]></data>\n"
                "    <empty flag=\"true\"/>\n"
                "  </item>\n";
  }
  document += "</catalog>\n";
  document.append(kDocumentSize - document.size(), ' ');
  return document;
}

size_t CommittedBytes(HANDLE heap) {
  size_t committed = 0;
  PROCESS_HEAP_ENTRY entry{};
  while (HeapWalk(heap, &entry)) {
    if (entry.wFlags & PROCESS_HEAP_REGION) committed += entry.Region.dwCommittedSize;
  }
  return committed;
}

// Wine keeps the working set's peak but not the pagefile peak.
size_t PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

void Run(const char* name, const std::string& text, size_t peakBefore) {
  double best = 1e300;
  double releaseBest = 1e300;
  size_t heapBytes = 0;
  int result = 0;
  for (int round = 0; round < kRounds; ++round) {
    XmlRef<XmlDocument> document = CreateXmlDocument();
    double begin = NowMilliseconds();
    result = LoadXmlText(document.get(), text.c_str());
    double loaded = NowMilliseconds();
    heapBytes = CommittedBytes(document->heap);
    double releaseBegin = NowMilliseconds();
    document.reset();
    releaseBest = std::min(releaseBest, NowMilliseconds() - releaseBegin);
    best = std::min(best, loaded - begin);
  }
  double megabytesPerSecond = text.size() / 1e6 / (best / 1000.0);
  std::printf("%s: %zu bytes, result %d\n", name, text.size(), result);
  std::printf("  load: best %.1f ms of %d, %.1f MB/s (target %.0f: %s)\n", best, kRounds, megabytesPerSecond,
              kTargetMegabytesPerSecond, megabytesPerSecond >= kTargetMegabytesPerSecond ? "met" : "MISSED");
  std::printf("  release: %.1f ms\n", releaseBest);
  std::printf("  document heap: %.1f MiB committed (%.1f x the input)\n", heapBytes / 1048576.0,
              static_cast<double>(heapBytes) / text.size());
  std::printf("  process peak working set above the one before loading: %.1f MiB (%.1f x the input)\n",
              (PeakWorkingSet() - peakBefore) / 1048576.0, static_cast<double>(PeakWorkingSet() - peakBefore) / text.size());
}

}  // namespace

int main() {
  const std::string utf8 = MakeDocument(true);
  const std::string gbk = MakeDocument(false);
  size_t peakBefore = PeakWorkingSet();
  Run("UTF-8 catalogue", utf8, peakBefore);
  Run("GBK catalogue", gbk, peakBefore);
}
