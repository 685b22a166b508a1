// Cutting pieces out of texts. Positions are 1-based byte positions; cuts by
// count do not look at two-byte characters. Empty results are null.
#pragma once
#include <optional>

#include "runtime/text.h"

// The first min(n, length) bytes; null when n <= 0.
Text LeftText(const char* text, int n);
// The last min(n, length) bytes; null when n <= 0.
Text RightText(const char* text, int n);
// n bytes from `start`, cut at the end; null when start <= 0, n <= 0 or start
// lies beyond the text.
Text MidText(const char* text, int start, int n);
// Without leading and trailing ASCII spaces and full-width spaces.
Text TrimText(const char* text);
// The byte at `position` (default 1) sign-extended; 0 at or beyond the end,
// for a null text or a position below 1.
int CharCodeAt(const char* text, std::optional<int> position = std::nullopt);
