// Fast scans over raw bytes. Where the processor reports SSE2 (tested once,
// on first use) they look at 16 bytes at a time, otherwise at a machine word
// or a byte at a time.
#pragma once
#include <cstddef>

// Bytes before the terminating zero of a non-null text.
size_t ScanLength(const char* text);
// The routine ScanLength uses where the processor lacks SSE2.
size_t WordwiseLength(const char* text);

// A cheap filter for substring search: the first offset in [from, end) whose
// byte equals `first` and whose byte `distance` further on equals `last`, or
// `end` when there is none. With `fold` the text's ASCII capitals count as
// lower case (`first` and `last` are then given in lower case). Every byte up
// to end - 1 + distance must be readable.
size_t NextCandidate(const char* text, size_t from, size_t end, unsigned char first, unsigned char last,
                     size_t distance, bool fold);
