// RegexObject: regular-expression search over runtime texts. The matching is
// done by the platform's "VBScript.RegExp" component, driven through the
// automation bridge; this object keeps the subject and the match collection
// of the last search and turns matches back into GBK texts and byte offsets.
#pragma once
#include <optional>

#include "runtime/automation_object.h"
#include "runtime/com_scope.h"
#include "runtime/quote_placeholder.h"
#include "runtime/text.h"
#include "runtime/variant_cell.h"

class RegexObject {
 public:
  // Initialises COM on the thread for the life of the object.
  RegexObject();
  RegexObject& operator=(const RegexObject&) = delete;
  ~RegexObject() = default;

  // A new object sharing this one's component and match collection, with
  // its own copy of the subject.
  RegexObject Clone() const { return RegexObject(*this); }

  // Compiles `pattern` into a new component and runs it over `subject`
  // (null counts as empty). Options left out: matching ignores case, ^ and $
  // work per line, every match is found. With `quotePlaceholder`, each
  // QuotePlaceholder in the pattern stands for a double quote. True when a
  // match collection was obtained (false for a bad pattern).
  // Global searches must use patterns that cannot match empty text: the
  // component of the test platform (Wine) never finishes such a search.
  bool Search(const char* pattern, const char* subject, std::optional<bool> caseSensitive = {},
              std::optional<bool> multiLine = {}, std::optional<bool> global = {}, bool quotePlaceholder = false);

  // (The object's operation table has an empty entry here.)

  // The component's pattern; null before the first search.
  Text GetPattern();
  // The subject of the last search with its matches replaced (the
  // component's "$1"-style references work); null when that fails.
  Text ReplaceMatches(const char* replacement);
  int MatchCount();
  // Match `index` (1-based) of the last search; null when there is none.
  // `position` receives its 0-based byte offset in the subject, or -2.
  Text MatchText(int index, int* position = nullptr);
  // Capture group `group` (1-based) of match `index`; null when there is
  // none. `position` receives the byte offset of the first occurrence of
  // the group's text from the start of the match, or -2.
  Text SubmatchText(int index, int group, int* position = nullptr);
  // Number of capture groups of the first match.
  int SubMatchCount();

 private:
  RegexObject(const RegexObject& source);

  // Byte offset in the subject where `match` begins; -2 for no match.
  int MatchOffset(AutomationObject& match);

  ComScope com_;  // first: COM stays initialised until the holders are gone
  AutomationObject regex_;
  AutomationObject matches_;
  VariantCell subject_;
};
