#include "http/text_items.h"

#include <string>

#include "runtime/text_compare.h"
#include "runtime/text_search.h"

std::vector<const char*> ItemsOf(const TextArray& array) {
  std::vector<const char*> items(array.size());
  for (size_t i = 0; i < items.size(); ++i) items[i] = array[i];
  return items;
}

int IndexOfText(std::span<const char* const> items, const char* text) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (CompareTexts(items[i], text) == 0) return static_cast<int>(i + 1);
  }
  return -1;
}

Text DedupeItems(const char* text, const char* separator) {
  TextArray items = SplitText(text, separator);
  std::vector<const char*> seen;
  for (const char* item : ItemsOf(items)) {
    if (IndexOfText(seen, item) == -1) seen.push_back(item);
  }
  return JoinItems(seen, separator);
}

Text JoinItems(std::span<const char* const> items, const char* separator) {
  std::string joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i) joined += TextView(separator);
    joined += TextView(items[i]);
  }
  return Text::Copy(joined);
}
