#include "http/cookies.h"

#include <vector>

#include "http/marker_text.h"
#include "http/text_items.h"
#include "runtime/text_compare.h"
#include "runtime/text_cut.h"
#include "runtime/text_make.h"
#include "runtime/text_search.h"

namespace {

constexpr const char* kItemSeparator = "; ";

Text SetCookieValue(const char* line) {
  if (FindText(line, ";") != -1) return TrimText(TextBetween(line, "Set-Cookie:", ";").get());
  return TrimText(ReplaceText(line, "Set-Cookie:", nullptr, std::nullopt, std::nullopt, false).get());
}

// Trimmed, and a trailing ";" completed to a separator so that splitting
// does not leave it on the last item.
void PrepareCookieText(Text& cookies) {
  cookies = TrimText(cookies.get());
  if (cookies.view().ends_with(';')) cookies = ConcatTexts({cookies.get(), " "});
}

bool IsDeleted(const char* item) { return CompareTexts(RightText(item, 8).get(), "=deleted") == 0; }

}  // namespace

Text CollectResponseCookies(const char* headers) {
  TextArray lines = SplitText(headers, "\r\n");
  std::vector<Text> values;
  for (const char* line : ItemsOf(lines)) {
    if (CompareTexts(TextBefore(line, ": ").get(), "Set-Cookie") == 0) values.push_back(SetCookieValue(line));
  }
  std::vector<const char*> items;
  for (const Text& value : values) items.push_back(value.get());
  return JoinItems(items, kItemSeparator);
}

Text MergeCookies(Text& sent, Text& received) {
  PrepareCookieText(sent);
  PrepareCookieText(received);
  TextArray sentItems = SplitText(sent.get(), kItemSeparator);
  TextArray receivedItems = SplitText(received.get(), kItemSeparator);
  std::vector<const char*> merged = ItemsOf(receivedItems);
  for (const char* item : ItemsOf(sentItems)) {
    if (!HasCookieNamed(merged, CookieName(item).get())) merged.push_back(item);
  }
  std::erase_if(merged, IsDeleted);
  Text joined = JoinItems(merged, kItemSeparator);
  sent = DedupeItems(joined.get(), kItemSeparator);
  return CopyText(sent.get());
}

Text CookieName(const char* item) {
  int equals = FindText(item, "=");
  return TrimText(equals == -1 ? item : LeftText(item, equals - 1).get());
}

bool HasCookieNamed(std::span<const char* const> items, const char* name) {
  for (const char* item : items) {
    if (CompareTexts(CookieName(item).get(), name) == 0) return true;
  }
  return false;
}
