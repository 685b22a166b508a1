// Finding, replacing and splitting within texts. Positions are 1-based byte
// positions; forward searches try only character starts (a byte with the
// high bit set begins a two-byte character).
#pragma once
#include <optional>

#include "runtime/array.h"
#include "runtime/text.h"

// The common dialog header names its find and replace dialogs this way.
#undef FindText
#undef ReplaceText

// Position of the first occurrence of `find` at or after `start` (default 1;
// a start inside a two-byte character begins after it). 1 for an empty find
// in a non-empty text; -1 when not found, for a null or empty text or a null
// find.
int FindText(const char* text, const char* find, std::optional<int> start = std::nullopt, bool ignoreCase = false);

// Position of the last occurrence that ends before `start` (default: the
// whole text), trying every byte position from the latest one down. 1 for an
// empty find; -1 when not found, for a null or empty text, a null find or a
// start below 1.
int FindTextReverse(const char* text, const char* find, std::optional<int> start = std::nullopt,
                    bool ignoreCase = false);

// A new text with up to `count` (default: all) occurrences of `find` from
// `start` on replaced by `replacement` (null removes them); the part before
// `start` is kept as it is. Null for a null or empty source or an empty result.
Text ReplaceText(const char* text, const char* find, const char* replacement = nullptr,
                 std::optional<int> start = std::nullopt, std::optional<int> count = std::nullopt,
                 bool caseSensitive = true);

// Cuts the text at each occurrence of the delimiter (default ","), at most
// `maxCount` pieces. Empty pieces between delimiters are null elements; an
// empty rest after the last delimiter adds none. An empty delimiter gives the
// whole text as one element; a null or empty text or a max count <= 0 gives
// the empty array.
TextArray SplitText(const char* text, std::optional<const char*> delimiter = std::nullopt,
                    std::optional<int> maxCount = std::nullopt);
