#include <climits>
#include <cstring>
#include <string_view>

#include "runtime/heap.h"
#include "runtime/text_match.h"
#include "runtime/text_search.h"

namespace {

char* Append(char* out, std::string_view bytes) {
  std::memcpy(out, bytes.data(), bytes.size());
  return out + bytes.size();
}

}  // namespace

Text ReplaceText(const char* text, const char* find, const char* replacement, std::optional<int> start,
                 std::optional<int> count, bool caseSensitive) {
  std::string_view source = TextView(text);
  if (source.empty()) return Text();
  std::string_view needle = TextView(find);
  size_t from = SearchOffset(source, start);
  if (from == source.size() || needle.empty() || (count && *count <= 0)) return Text::Copy(source);

  const int limit = count.value_or(INT_MAX);
  std::string_view inserted = TextView(replacement);
  auto eachMatch = [&](auto onMatch) {
    int left = limit;
    for (size_t at = from; left-- > 0; at += needle.size()) {
      at = FindAtCharacterStart(source, at, needle, !caseSensitive);
      if (at == std::string_view::npos) break;
      onMatch(at);
    }
  };
  // The result fits in the source's size unless replacements are longer
  // than what they replace; then the matches are counted first. Every byte is
  // copied once, right after its match is found.
  size_t room = source.size();
  if (inserted.size() > needle.size()) eachMatch([&](size_t) { room += inserted.size() - needle.size(); });
  Text result = Text::Allocate(room);
  char* out = result.data();
  size_t copied = 0;
  eachMatch([&](size_t at) {
    out = Append(Append(out, source.substr(copied, at - copied)), inserted);
    copied = at + needle.size();
  });
  out = Append(out, source.substr(copied));
  auto length = static_cast<size_t>(out - result.data());
  if (length == 0) return Text();
  if (length == room) return result;
  *out = 0;
  return Text::Adopt(static_cast<char*>(RuntimeRealloc(result.release(), length + 1)));
}
