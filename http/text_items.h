// Lists of text items, as cookie texts and header blocks are made of.
#pragma once
#include <span>
#include <vector>

#include "runtime/array.h"
#include "runtime/text.h"

// The elements of an array, borrowed (null for empty elements).
std::vector<const char*> ItemsOf(const TextArray& array);

// 1-based index of the first item equal to the text, -1 when none. A null
// item equals an empty text.
int IndexOfText(std::span<const char* const> items, const char* text);

// The items separated by `separator` with repeats removed, first occurrence kept.
Text DedupeItems(const char* text, const char* separator);

// The items with the separator between neighbours; null when that is empty.
Text JoinItems(std::span<const char* const> items, const char* separator);
