// Cutting text out between markers, as scrapers of web pages do.
#pragma once
#include <optional>

#include "runtime/text.h"

// Stands for a double quote in a marker, so callers can write markers that
// contain quotes without escaping them.
inline constexpr const char* QuotePlaceholder = "#引号";

// The text between the first left marker at or after `start` and the next
// right marker after it; null when either is missing or they are adjacent.
Text TextBetween(const char* text, const char* left, const char* right, std::optional<int> start = std::nullopt,
                 bool ignoreCase = false);

// The text before the first occurrence of the marker; null when there is none.
Text TextBefore(const char* text, const char* marker, std::optional<int> start = std::nullopt,
                bool ignoreCase = false);
