// Header blocks: lines of the form name ":" value joined by "\r\n".
#pragma once
#include "runtime/text.h"

// The block with every name capitalised word by word ("content-type" becomes
// "Content-Type"; nothing is lowered) and lines without ":" dropped; no
// "\r\n" at the end.
Text NormaliseHeaderBlock(const char* block);
// The text with its first byte upper-cased (ASCII letters only).
Text CapitaliseFirst(const char* text);
// Trimmed text before the line's first ":"; null when it has none.
Text HeaderName(const char* line);
// Trimmed text after the line's first ":"; null when it has none.
Text HeaderValue(const char* line);
