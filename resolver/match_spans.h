// Where the pipeline's patterns can match on a page.
//
// The platform's pattern component backtracks. On a page built to defeat the
// patterns (many blocks that begin a name-and-size match but never finish
// one, or a long run of token characters without "_c_c") a search over the
// whole page takes time quadratic or worse in its length, and a share link
// can point at any page. These functions find in linear time the part of a
// page that holds the pattern's first match; a search over that part alone
// finds the same first match with the same groups, and does little work;
// nor does the component then hold a copy of the whole page.
//
// Pages are GBK as the UTF-8 conversion writes them (0x81-0xFE lead a
// two-byte character). The component's "." stops at LF, and in some
// versions at CR too: the spans hold the first match under either rule.
#pragma once
#include <string_view>

// The file name and size pattern, matched without case:
//   div class=".*?" id=".*?">(.*?)</div>[\s\S]+filesize">.+：(.*?)</div><
// Empty when it cannot match.
std::string_view NameAndSizeSpan(std::string_view page);

// The signature pattern, matched without case: [0-9a-zA-Z\_]{70,}_c_c
// Empty when it cannot match.
std::string_view SignatureSpan(std::string_view page);

// The action pattern, matched without case: action':'(.*?)'
// Empty when it cannot match.
std::string_view ActionSpan(std::string_view page);
