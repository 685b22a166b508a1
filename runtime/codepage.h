// Texts are GBK on every machine; conversions to and from UTF-16 for the
// W functions use code page 936, whatever the machine's code page is. Text
// that crosses the program's edge as UTF-8 (files, pipes) converts here too.
#pragma once
#include <string>
#include <string_view>

inline constexpr unsigned kTextCodePage = 936;

std::wstring GbkToWide(std::string_view text);
std::string WideToGbk(std::wstring_view text);
// Invalid UTF-8 bytes become U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view text);
