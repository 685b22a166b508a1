// Making new texts: copies, case mappings and texts of repeated or given
// bytes. Empty results are null.
#pragma once
#include "runtime/text.h"

Text CopyText(const char* text);
// n ASCII spaces; null when n < 1.
Text SpaceText(int n);
// The one-byte text of the low byte of code; null when that byte is 0.
Text CharText(int code);
// ASCII letters mapped; two-byte characters copied unchanged.
Text LowerText(const char* text);
Text UpperText(const char* text);
