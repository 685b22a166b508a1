// "#引号" stands for a double quote in markers and patterns, so callers can
// write them without escaping quotes.
#pragma once
#include "runtime/text.h"
#include "runtime/text_search.h"

inline constexpr char QuotePlaceholder[] = "#引号";

// A copy of `text` with every placeholder replaced by a double quote.
inline Text WithQuotes(const char* text) { return ReplaceText(text, QuotePlaceholder, "\""); }
