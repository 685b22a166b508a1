#include "runtime/text_cut.h"

#include <algorithm>
#include <string_view>

#include "runtime/text_match.h"

namespace {
constexpr std::string_view kFullWidthSpace = "\xA1\xA1";
}

Text LeftText(const char* text, int n) {
  if (n <= 0) return Text();
  return Text::Copy(TextView(text).substr(0, static_cast<size_t>(n)));
}

Text RightText(const char* text, int n) {
  if (n <= 0) return Text();
  std::string_view whole = TextView(text);
  return Text::Copy(whole.substr(whole.size() - std::min(whole.size(), static_cast<size_t>(n))));
}

Text MidText(const char* text, int start, int n) {
  std::string_view whole = TextView(text);
  if (start <= 0 || n <= 0 || static_cast<size_t>(start) > whole.size()) return Text();
  return Text::Copy(whole.substr(static_cast<size_t>(start - 1), static_cast<size_t>(n)));
}

Text TrimText(const char* text) {
  std::string_view whole = TextView(text);
  // Step by characters so that a full-width space is never read across the
  // two halves of neighbouring characters.
  size_t begin = whole.size();
  size_t end = 0;
  for (size_t at = 0; at < whole.size();) {
    size_t size = CharacterSize(whole[at]);
    std::string_view character = whole.substr(at, size);
    if (character != " " && character != kFullWidthSpace) {
      begin = std::min(begin, at);
      end = at + character.size();
    }
    at += size;
  }
  return begin < end ? Text::Copy(whole.substr(begin, end - begin)) : Text();
}

int CharCodeAt(const char* text, std::optional<int> position) {
  int at = position.value_or(1);
  std::string_view whole = TextView(text);
  if (at < 1 || static_cast<size_t>(at) > whole.size()) return 0;
  return static_cast<signed char>(whole[static_cast<size_t>(at - 1)]);
}
