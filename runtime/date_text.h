// Date-times: whole days since 1899-12-30 (negative counts back), the
// fraction's magnitude being the time of day.
#pragma once
#include <string>

// "Y年M月D日" followed by "H时M分S秒", "H时M分" or "H时", as far as the time
// has non-zero parts; nothing for midnight.
std::string FormatDateTime(double days);
