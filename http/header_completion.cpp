#include "http/header_completion.h"

#include "http/marker_text.h"
#include "runtime/text_compare.h"
#include "runtime/text_cut.h"
#include "runtime/text_search.h"

namespace {

void AppendMissing(Text& block, const char* name, const char* value) {
  Text searched = ConcatTexts({name, ":"});
  if (FindText(block.get(), searched.get(), std::nullopt, true) != -1) return;
  block = ConcatTexts({block.get(), "\r\n", name, ": ", value});
}

}  // namespace

void CompleteHeaderBlock(Text& block, const char* url, HttpMethod method, bool addAgent) {
  AppendMissing(block, "Accept", "*/*");
  AppendMissing(block, "Referer", url);
  AppendMissing(block, "Accept-Language", "zh-cn");
  if (addAgent) AppendMissing(block, "User-Agent", DefaultUserAgent);
  if (method == HttpMethod::Post) AppendMissing(block, "Content-Type", "application/x-www-form-urlencoded");
}

Text UserAgentOf(const Text& block) {
  Text terminated = ConcatTexts({block.get(), "\r\n"});
  Text agent = TrimText(TextBetween(terminated.get(), "User-Agent:", "\r\n", std::nullopt, true).get());
  return agent.empty() ? Text::Copy(DefaultUserAgent) : std::move(agent);
}
