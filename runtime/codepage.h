// Texts are GBK on every machine; conversions to and from UTF-16 for the
// W functions use code page 936, whatever the machine's ANSI code page is.
#pragma once
#include <string>
#include <string_view>

inline constexpr unsigned kTextCodePage = 936;

std::wstring GbkToWide(std::string_view text);
std::string WideToGbk(std::wstring_view text);
