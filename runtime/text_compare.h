// Joining and ordering texts. A null text counts as the empty text.
#pragma once
#include <initializer_list>
#include <span>

#include "runtime/text.h"

// Joins the parts in order into one block, allocated once. Unlike other
// commands this always returns a block, an empty one when all parts are empty.
Text ConcatTexts(std::span<const char* const> parts);
inline Text ConcatTexts(std::initializer_list<const char*> parts) {
  return ConcatTexts(std::span<const char* const>(parts.begin(), parts.size()));
}

// Unsigned byte order: -1, 0 or 1.
int CompareTexts(const char* a, const char* b);
// With caseSensitive false ASCII letters compare without case (the bytes of
// two-byte characters compare exactly); with it true as CompareTexts.
int CompareTextsCase(const char* a, const char* b, bool caseSensitive);
// True when both are non-empty and text begins with exactly the prefix bytes.
bool TextStartsWith(const char* text, const char* prefix);
