#include "runtime/date_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

struct CivilDate {
  int64_t year;
  int month;
  int day;
};

// Proleptic Gregorian date of a day count from 1970-01-01.
CivilDate CivilFromDays(int64_t days) {
  int64_t z = days + 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  auto dayOfEra = static_cast<unsigned>(z - era * 146097);
  unsigned yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  unsigned shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
  auto day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  auto month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  return {static_cast<int64_t>(yearOfEra) + era * 400 + (month <= 2), month, day};
}

constexpr int64_t kDaysFrom1970To18991230 = -25569;
// Beyond this no date is meaningful; such values (and NaN) read as day 0.
constexpr double kDayLimit = 0x1p60;

}  // namespace

std::string FormatDateTime(double days) {
  if (!(std::fabs(days) < kDayLimit)) days = 0;
  double whole = std::trunc(days);
  auto dayNumber = static_cast<int64_t>(whole);
  auto seconds = static_cast<int>(std::fabs(days - whole) * 86400 + 0.5);
  if (seconds == 86400) {  // rounded up to midnight: that is the next day's start, not hour 24
    seconds = 0;
    ++dayNumber;
  }
  CivilDate date = CivilFromDays(dayNumber + kDaysFrom1970To18991230);
  int hour = seconds / 3600;
  int minute = seconds % 3600 / 60;
  int second = seconds % 60;

  char buffer[96];
  int length = std::snprintf(buffer, sizeof buffer, "%lld年%d月%d日", static_cast<long long>(date.year), date.month,
                             date.day);
  char* time = buffer + length;
  size_t room = sizeof buffer - static_cast<size_t>(length);
  if (second) {
    std::snprintf(time, room, "%d时%d分%d秒", hour, minute, second);
  } else if (minute) {
    std::snprintf(time, room, "%d时%d分", hour, minute);
  } else if (hour) {
    std::snprintf(time, room, "%d时", hour);
  }
  return buffer;
}
