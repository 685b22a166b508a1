#include "runtime/text_make.h"

#include <cstring>
#include <string_view>

#include "runtime/text_match.h"

namespace {

template <typename MapByte>
Text MapLetters(const char* text, MapByte map) {
  Text mapped = Text::Copy(text);
  char* bytes = mapped.data();
  for (size_t at = 0, size = mapped.size(); at < size; at += CharacterSize(bytes[at])) {
    if (!IsLeadByte(bytes[at])) bytes[at] = map(bytes[at]);
  }
  return mapped;
}

}  // namespace

Text CopyText(const char* text) { return Text::Copy(text); }

Text SpaceText(int n) {
  if (n < 1) return Text();
  Text spaces = Text::Allocate(static_cast<size_t>(n));
  std::memset(spaces.data(), ' ', static_cast<size_t>(n));
  return spaces;
}

Text CharText(int code) {
  char byte = static_cast<char>(code & 0xFF);
  if (byte == 0) return Text();
  return Text::Copy(std::string_view(&byte, 1));
}

Text LowerText(const char* text) {
  return MapLetters(text, [](char c) { return static_cast<char>(FoldCase(c)); });
}

Text UpperText(const char* text) {
  return MapLetters(text, [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - ('a' - 'A')) : c; });
}
