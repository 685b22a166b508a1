#include "resolver/match_spans.h"

#include <algorithm>

#include "runtime/byte_scan.h"
#include "runtime/text_match.h"
#include "script/regex_object.h"

namespace {

constexpr size_t kNone = std::string_view::npos;

// The literal parts of the name-and-size pattern.
constexpr std::string_view kHeadMark = "div class=\"";
constexpr std::string_view kIdMark = "\" id=\"";
constexpr std::string_view kNameMark = "\">";
constexpr std::string_view kDivEnd = "</div>";
constexpr std::string_view kSizeMark = "filesize\">";
constexpr std::string_view kColon = "：";
constexpr std::string_view kTailEnd = "</div><";
// The action pattern's mark.
constexpr std::string_view kActionMark = "action':'";
// The signature pattern: at least this many token characters, then the end.
constexpr size_t kShortestToken = 70;
constexpr std::string_view kTokenEnd = "_c_c";

bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x81 && static_cast<unsigned char>(c) <= 0xFE; }

// Tells whether offsets of a page start a character, asked in increasing
// order: only the lead bytes right before an offset decide, and none is
// looked at twice.
class CharacterStarts {
 public:
  explicit CharacterStarts(std::string_view page, size_t known = 0) : page_(page), known_(known) {}

  bool At(size_t at) {
    // A byte that leads no pair ends a character, so the lead bytes after
    // it (or after the last offset known to start one) pair up from there.
    size_t leads = 0;
    while (at - leads > known_ && IsLeadByte(page_[at - leads - 1])) ++leads;
    const bool start = leads % 2 == 0;
    known_ = start ? at : at + 1;
    return start;
  }

 private:
  std::string_view page_;
  size_t known_;
};

// Whether the literal begins at `at`, ASCII letters in either case.
bool LiteralAt(std::string_view page, size_t at, std::string_view literal) {
  if (page.size() - at < literal.size()) return false;
  for (size_t i = 0; i < literal.size(); ++i) {
    if (FoldCase(page[at + i]) != FoldCase(literal[i])) return false;
  }
  return true;
}

// The first start of the literal at a character start in [from, end);
// `from` starts a character.
size_t FindLiteral(std::string_view page, size_t from, size_t end, std::string_view literal) {
  if (end < from || end - from < literal.size()) return kNone;
  CharacterStarts starts(page, from);
  const size_t last = end - literal.size() + 1;  // the last start, plus one
  const unsigned char front = FoldCase(literal.front());
  const unsigned char back = FoldCase(literal.back());
  for (size_t at = from; (at = NextCandidate(page.data(), at, last, front, back, literal.size() - 1, true)) < last;
       ++at) {
    if (LiteralAt(page, at, literal) && starts.At(at)) return at;
  }
  return kNone;
}

// What ends a line for the pattern's ".": LF, and CR too where it does.
struct LineBreaks {
  bool cr;
  bool At(char c) const { return c == '\n' || (cr && c == '\r'); }
  size_t Next(std::string_view page, size_t from) const {
    return std::min(page.find_first_of(cr ? "\n\r" : "\n", from), page.size());
  }
};

// The tail filesize">.+：(.*?)</div>< that the greedy [\s\S]+ settles on.
struct Tail {
  size_t start = kNone;      // its "filesize\">"
  size_t sizeStart = kNone;  // the group: after the last colon that a
  size_t sizeEnd = kNone;    // "</div><" follows on the line, up to the first such
};

// The tail a line settles on when its first "filesize\">" is at `mark`: the
// last mark from which a tail matches on the line, and its group.
Tail TailOnLine(std::string_view page, size_t mark, size_t lineEnd) {
  size_t lastMark = kNone, previousMark = kNone;  // the last two marks
  size_t colon = kNone;                           // the last colon
  size_t colonTail = kNone;                       // the last mark a tail can start at before it
  Tail settled;                                   // what the last "</div><" completes
  CharacterStarts starts(page, mark);
  for (size_t at = mark; at < lineEnd; ++at) {
    const char c = page[at];
    if ((c == 'f' || c == 'F') && LiteralAt(page, at, kSizeMark) && starts.At(at)) {
      previousMark = lastMark;
      lastMark = at;
    } else if (c == kColon[0] && LiteralAt(page, at, kColon) && starts.At(at)) {
      colon = at;
      // .+ needs a character between the mark and the colon.
      colonTail = lastMark != kNone && lastMark + kSizeMark.size() < at ? lastMark : previousMark;
    } else if (c == '<' && colonTail != kNone && colon + kColon.size() != settled.sizeStart &&
               LiteralAt(page, at, kTailEnd) && starts.At(at)) {
      settled = {colonTail, colon + kColon.size(), at};
    }
  }
  return settled;
}

// The last start from which a tail matches in the page, and its group: the
// lines that hold a "filesize\">" are looked at, each once.
Tail LastTail(std::string_view page, LineBreaks breaks) {
  Tail last;
  for (size_t at = 0, mark; (mark = FindLiteral(page, at, page.size(), kSizeMark)) != kNone;) {
    const size_t lineEnd = breaks.Next(page, mark);
    const Tail settled = TailOnLine(page, mark, lineEnd);
    if (settled.start != kNone) last = settled;
    at = lineEnd + 1;  // a line break is never part of a two-byte character
  }
  return last;
}

// The head div class=".*?" id=".*?">(.*?)</div> that starts at `at`, each
// part taken as early as it can be.
struct Head {
  size_t nameStart = kNone;
  size_t nameEnd = kNone;
  size_t end = kNone;
};

std::optional<Head> HeadAt(std::string_view page, size_t at, size_t lineEnd) {
  const size_t id = FindLiteral(page, at + kHeadMark.size(), lineEnd, kIdMark);
  if (id == kNone) return std::nullopt;
  const size_t nameStart = FindLiteral(page, id + kIdMark.size(), lineEnd, kNameMark);
  if (nameStart == kNone) return std::nullopt;
  const size_t nameEnd = FindLiteral(page, nameStart + kNameMark.size(), lineEnd, kDivEnd);
  if (nameEnd == kNone) return std::nullopt;
  return Head{nameStart + kNameMark.size(), nameEnd, nameEnd + kDivEnd.size()};
}

bool IsTokenCharacter(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

}  // namespace

// The match starts at the first head whose earliest end leaves a character
// before the settled tail, and takes that earliest head. Later heads on a
// line end no earlier than the line's first, so each line is decided by its
// first head.
std::optional<NameAndSize> FindNameAndSize(std::string_view page, bool dotStopsAtCr) {
  const LineBreaks breaks{dotStopsAtCr};
  const Tail tail = LastTail(page, breaks);
  if (tail.start == kNone) return std::nullopt;
  for (size_t at = 0, head; (head = FindLiteral(page, at, tail.start, kHeadMark)) != kNone;) {
    const size_t lineEnd = breaks.Next(page, head);
    if (const std::optional<Head> found = HeadAt(page, head, lineEnd)) {
      if (found->end >= tail.start) break;
      return NameAndSize{page.substr(found->nameStart, found->nameEnd - found->nameStart),
                         page.substr(tail.sizeStart, tail.sizeEnd - tail.sizeStart)};
    }
    at = lineEnd + 1;
  }
  return std::nullopt;
}

bool DotStopsAtCr() {
  static const bool stops = [] {
    RegexObject regex;
    regex.Search(".", "\r");
    return regex.MatchCount() == 0;
  }();
  return stops;
}

// Only a run's first character can start a match; the greedy repetition
// then ends at the run's last "_c_c" that leaves enough characters before it.
std::string_view SignatureSpan(std::string_view page) {
  CharacterStarts starts(page);
  size_t runStart = kNone;
  size_t matchEnd = kNone;
  for (size_t at = 0; at < page.size(); ++at) {
    // A letter or digit may be the second byte of a two-byte character.
    if (!IsTokenCharacter(page[at]) || !starts.At(at)) {
      if (matchEnd != kNone) break;
      runStart = kNone;
      continue;
    }
    if (runStart == kNone) runStart = at;
    if (at - runStart >= kShortestToken && LiteralAt(page, at, kTokenEnd)) matchEnd = at + kTokenEnd.size();
  }
  return matchEnd == kNone ? std::string_view() : page.substr(runStart, matchEnd - runStart);
}

// The first mark with a quote after it on its line. Where "." also stops at
// CR the first match may lie further on: the span then reaches to its end.
std::string_view ActionSpan(std::string_view page) {
  size_t start = kNone;  // the first match where "." stops at LF only
  size_t end = kNone;
  for (size_t at = FindLiteral(page, 0, page.size(), kActionMark); at != kNone;
       at = FindLiteral(page, at + kActionMark.size(), page.size(), kActionMark)) {
    const size_t valueStart = at + kActionMark.size();
    const size_t quote = page.find('\'', valueStart);  // a quote is never part of a two-byte character
    if (quote == kNone) break;
    const std::string_view value = page.substr(valueStart, quote - valueStart);
    if (value.find('\n') != kNone) continue;
    if (start == kNone) start = at;
    end = quote + 1;
    if (value.find('\r') == kNone) break;
  }
  return start == kNone ? std::string_view() : page.substr(start, end - start);
}
