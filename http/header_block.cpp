#include "http/header_block.h"

#include <string>

#include "http/text_items.h"
#include "runtime/text_compare.h"
#include "runtime/text_cut.h"
#include "runtime/text_make.h"
#include "runtime/text_search.h"

namespace {

Text CapitaliseWords(const char* name) {
  if (FindText(name, "-") == -1) return CapitaliseFirst(name);
  TextArray words = SplitText(name, "-");
  std::vector<Text> capitalised;
  for (const char* word : ItemsOf(words)) capitalised.push_back(CapitaliseFirst(word));
  std::vector<const char*> parts;
  for (const Text& word : capitalised) parts.push_back(word.get());
  return JoinItems(parts, "-");
}

}  // namespace

Text NormaliseHeaderBlock(const char* block) {
  TextArray lines = SplitText(block, "\r\n");
  std::vector<const char*> normalised;
  std::vector<Text> owned;
  for (const char* line : ItemsOf(lines)) {
    int colon = FindText(line, ":");
    if (colon == -1) continue;
    Text name = CapitaliseWords(LeftText(line, colon - 1).get());
    // A trailing "-" is not part of the rebuilt name: the rest keeps it.
    Text rest = RightText(line, static_cast<int>(TextLength(line) - name.size()));
    owned.push_back(ConcatTexts({name.get(), rest.get()}));
    normalised.push_back(owned.back().get());
  }
  return JoinItems(normalised, "\r\n");
}

Text CapitaliseFirst(const char* text) {
  if (TextLength(text) == 0) return Text();
  Text first = UpperText(LeftText(text, 1).get());
  return ConcatTexts({first.get(), text + 1});
}

Text HeaderName(const char* line) {
  int colon = FindText(line, ":");
  return colon == -1 ? Text() : TrimText(LeftText(line, colon - 1).get());
}

Text HeaderValue(const char* line) {
  int colon = FindText(line, ":");
  return colon == -1 ? Text() : TrimText(line + colon);
}
