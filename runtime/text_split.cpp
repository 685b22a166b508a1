#include <algorithm>
#include <climits>
#include <string_view>
#include <vector>

#include "runtime/text_match.h"
#include "runtime/text_search.h"

TextArray SplitText(const char* text, std::optional<const char*> delimiter, std::optional<int> maxCount) {
  std::string_view source = TextView(text);
  size_t limit = static_cast<size_t>(std::max(maxCount.value_or(INT_MAX), 0));
  std::vector<Text> pieces;
  if (limit == 0 || source.empty()) return TextArray::From(std::move(pieces));
  std::string_view separator = TextView(delimiter.value_or(","));
  if (separator.empty()) {
    pieces.push_back(Text::Copy(source));
    return TextArray::From(std::move(pieces));
  }
  size_t from = 0;
  while (pieces.size() < limit) {
    size_t at = FindAtCharacterStart(source, from, separator, false);
    if (at == std::string_view::npos) break;
    pieces.push_back(Text::Copy(source.substr(from, at - from)));
    from = at + separator.size();
  }
  if (from < source.size() && pieces.size() < limit) pieces.push_back(Text::Copy(source.substr(from)));
  return TextArray::From(std::move(pieces));
}
