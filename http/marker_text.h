// Cutting text out between markers, as scrapers of web pages do.
#pragma once
#include <optional>

#include "runtime/quote_placeholder.h"
#include "runtime/text.h"

// The text between the first left marker at or after `start` and the next
// right marker after it; null when either is missing or they are adjacent.
Text TextBetween(const char* text, const char* left, const char* right, std::optional<int> start = std::nullopt,
                 bool ignoreCase = false);

// The text before the first occurrence of the marker; null when there is none.
Text TextBefore(const char* text, const char* marker, std::optional<int> start = std::nullopt, bool ignoreCase = false);
