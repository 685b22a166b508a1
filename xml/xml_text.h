// Character-level helpers of the XML reader.
#pragma once
#include <string_view>

// Replaces, in place, each reference to one of the five predefined entities
// by its character. Every reference is decoded once: a character that
// decoding produces never starts another reference. The units freed at the
// end of the buffer are zeroed. Other "&" sequences stay as they are.
void DecodeEntities(wchar_t* text);

// Whether any unit is above 32 (a character other than space or control).
bool HasVisibleChar(std::wstring_view units);
