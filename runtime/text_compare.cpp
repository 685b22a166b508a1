#include "runtime/text_compare.h"

#include <cstring>
#include <string_view>
#include <vector>

#include "runtime/text_match.h"

namespace {
int Sign(int value) { return (value > 0) - (value < 0); }
}  // namespace

Text ConcatTexts(std::span<const char* const> parts) {
  std::vector<size_t> lengths(parts.size());
  size_t total = 0;
  for (size_t i = 0; i < parts.size(); ++i) total += lengths[i] = TextLength(parts[i]);
  Text joined = Text::Allocate(total);
  char* out = joined.data();
  for (size_t i = 0; i < parts.size(); ++i) {
    if (lengths[i]) std::memcpy(out, parts[i], lengths[i]);
    out += lengths[i];
  }
  return joined;
}

int CompareTexts(const char* a, const char* b) {
  // std::strcmp orders by unsigned bytes.
  return Sign(std::strcmp(a ? a : EmptyText, b ? b : EmptyText));
}

int CompareTextsCase(const char* a, const char* b, bool caseSensitive) {
  if (caseSensitive) return CompareTexts(a, b);
  const char* x = a ? a : EmptyText;
  const char* y = b ? b : EmptyText;
  bool secondOfPair = false;
  for (;; ++x, ++y) {
    unsigned char left = secondOfPair ? static_cast<unsigned char>(*x) : FoldCase(*x);
    unsigned char right = secondOfPair ? static_cast<unsigned char>(*y) : FoldCase(*y);
    if (left != right) return left < right ? -1 : 1;
    if (left == 0) return 0;
    secondOfPair = !secondOfPair && IsLeadByte(*x);
  }
}

bool TextStartsWith(const char* text, const char* prefix) {
  std::string_view whole = TextView(text);
  std::string_view start = TextView(prefix);
  return !whole.empty() && !start.empty() && whole.starts_with(start);
}
