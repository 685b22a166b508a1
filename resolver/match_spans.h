// Where the pipeline's patterns match on a page.
//
// The platform's pattern component backtracks. On a page built to defeat the
// patterns (many blocks that begin a name-and-size match but never finish
// one, a size field full of "filesize\">", a long run of token characters
// without "_c_c") a search takes time quadratic or worse in the page's
// length, and a share link can point at any page. These functions find the
// first match in linear time, with exactly the component's results:
// - The signature and action patterns: the part of the page that holds the
//   first match; a search over that part alone finds the same match and its
//   groups, does little work, and leaves no copy of the page in the component.
// - The name-and-size pattern: its greedy [\s\S]+ backtracks through the size
//   field once for every "filesize\">" inside it, so a search of any part
//   that holds the match can take quadratic time; the groups are found here.
//
// Pages are GBK as the UTF-8 conversion writes them (0x81-0xFE lead a
// two-byte character). The component's "." stops at LF, and in some
// versions at CR too (DotStopsAtCr tells which); the spans hold the first
// match under either rule.
#pragma once
#include <optional>
#include <string_view>

// The groups of the first match of the file name and size pattern,
// matched without case:
//   div class=".*?" id=".*?">(.*?)</div>[\s\S]+filesize">.+：(.*?)</div><
// Nothing when it does not match.
struct NameAndSize {
  std::string_view name;
  std::string_view size;
};
std::optional<NameAndSize> FindNameAndSize(std::string_view page, bool dotStopsAtCr);

// Whether the platform's pattern component ends a line at CR for "." (asked
// once).
bool DotStopsAtCr();

// The signature pattern, matched without case: [0-9a-zA-Z\_]{70,}_c_c
// Empty when it cannot match.
std::string_view SignatureSpan(std::string_view page);

// The action pattern, matched without case: action':'(.*?)'
// Empty when it cannot match.
std::string_view ActionSpan(std::string_view page);
