#include "runtime/text_search.h"

#include <algorithm>
#include <string_view>

#include "runtime/text_match.h"

int FindText(const char* text, const char* find, std::optional<int> start, bool ignoreCase) {
  std::string_view haystack = TextView(text);
  if (haystack.empty() || !find) return -1;
  std::string_view needle = TextView(find);
  if (needle.empty()) return 1;
  size_t from = SearchOffset(haystack, start);
  size_t at = FindAtCharacterStart(haystack, from, needle, ignoreCase);
  return at == std::string_view::npos ? -1 : static_cast<int>(at + 1);
}

int FindTextReverse(const char* text, const char* find, std::optional<int> start, bool ignoreCase) {
  std::string_view haystack = TextView(text);
  if (haystack.empty() || !find || (start && *start < 1)) return -1;
  std::string_view needle = TextView(find);
  if (needle.empty()) return 1;
  // A match must end before the start position: it lies in the bytes before it.
  if (start) haystack = haystack.substr(0, std::min(haystack.size(), static_cast<size_t>(*start - 1)));
  if (needle.size() > haystack.size()) return -1;
  if (!ignoreCase) {
    size_t at = haystack.rfind(needle);
    return at == std::string_view::npos ? -1 : static_cast<int>(at + 1);
  }
  for (size_t at = haystack.size() - needle.size() + 1; at-- > 0;) {
    if (MatchesAt(haystack.data() + at, needle, true)) return static_cast<int>(at + 1);
  }
  return -1;
}
