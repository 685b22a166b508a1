// The code page of an XML text, from the encoding its declaration names.
#pragma once
#include <windows.h>

#include <string_view>

// 936 unless a declaration names an encoding in double quotes.
UINT DetectXmlCodePage(std::string_view bytes);
// The code page for an encoding name, compared without regard to case;
// 65001 for an unknown name.
UINT CodePageFromName(const char* name);
