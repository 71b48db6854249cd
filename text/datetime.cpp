#include "text/datetime.h"

#include <cstdio>

namespace zk {

std::string dateTimeText(const LocalTime& t) {
  std::string s = std::to_string(t.year) + "年" + std::to_string(t.month) + "月" + std::to_string(t.day) + "日";
  if (t.hour == 0 && t.minute == 0 && t.second == 0) return s;
  s += std::to_string(t.hour) + "时";
  if (t.minute == 0 && t.second == 0) return s;
  s += std::to_string(t.minute) + "分";
  if (t.second == 0) return s;
  return s + std::to_string(t.second) + "秒";
}

std::string logTimePrefix(const LocalTime& t) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour % 100, t.minute % 100, t.second % 100);
  return std::string(buf) + "：";
}

}  // namespace zk
