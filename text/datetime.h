// Local date-time values and the two texts the program builds from them.
#pragma once

#include <string>

namespace zk {

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

// "2016年1月22日9时5分7秒" without leading zeros; trailing zero parts are left off
// (seconds 0 ends after 分, minutes too after 时, hour too after 日).
std::string dateTimeText(const LocalTime& t);
// "09:05:07：", the prefix of every progress-log line.
std::string logTimePrefix(const LocalTime& t);

}  // namespace zk
