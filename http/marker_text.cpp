#include "http/marker_text.h"

#include "runtime/text_cut.h"
#include "runtime/text_search.h"

Text TextBetween(const char* text, const char* left, const char* right, std::optional<int> start, bool ignoreCase) {
  Text leftMarker = WithQuotes(left);
  Text rightMarker = WithQuotes(right);
  int leftAt = FindText(text, leftMarker.get(), start, ignoreCase);
  if (leftAt == -1) return Text();
  int valueAt = leftAt + static_cast<int>(leftMarker.size());
  int rightAt = FindText(text, rightMarker.get(), valueAt, ignoreCase);
  if (rightAt == -1) return Text();
  return MidText(text, valueAt, rightAt - valueAt);
}

Text TextBefore(const char* text, const char* marker, std::optional<int> start, bool ignoreCase) {
  int at = FindText(text, marker, start, ignoreCase);
  return at == -1 ? Text() : LeftText(text, at - 1);
}
