#include "nettools/bandwidth.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "text/number.h"

namespace zk {

std::string foldFullWidth(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    auto b = [&](std::size_t k) { return static_cast<unsigned char>(s[i + k]); };
    if (i + 2 < s.size() && b(0) == 0xEF && (b(1) == 0xBC || b(1) == 0xBD) && b(2) >= 0x80 && b(2) <= 0xBF) {
      unsigned code = 0xF000 | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);  // U+FF00 to U+FF7F
      if (code >= 0xFF01 && code <= 0xFF5E) {
        out += static_cast<char>(code - 0xFEE0);
        i += 2;
        continue;
      }
    }
    if (i + 2 < s.size() && b(0) == 0xE3 && b(1) == 0x80 && b(2) == 0x80) {
      out += ' ';
      i += 2;
      continue;
    }
    out += s[i];
  }
  return out;
}

double bandwidthNumber(std::string_view input) {
  double value = leadingDecimal(foldFullWidth(input), true);
  // So large that the speed in KB/s (x × 1024) would not be a number any more: out of range too.
  return std::fabs(value) > std::numeric_limits<double>::max() / 1024 ? 0.0 : value;
}

std::string generalNumber(double value) {
  if (value == 0 || !std::isfinite(value)) return "0";
  // The scientific form rounded to 13 digits decides, as printf's %g does.
  char sci[64];
  auto r = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 12);
  std::string s(sci, r.ptr);
  std::size_t e = s.find('e');
  int exponent = std::atoi(s.c_str() + e + 1);
  auto trim = [](std::string m) {
    if (m.find('.') != std::string::npos) {
      while (m.back() == '0') m.pop_back();
      if (m.back() == '.') m.pop_back();
    }
    return m;
  };
  if (exponent < -4 || exponent >= 13) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    return trim(s.substr(0, e)) + "e" + (exponent < 0 ? "-" : "+") +
           std::string(3 - std::min<std::size_t>(3, digits.size()), '0') + digits;
  }
  char fixed[64];
  auto f = std::to_chars(fixed, fixed + sizeof fixed, value, std::chars_format::fixed, 12 - exponent);
  return trim(std::string(fixed, f.ptr));
}

std::string bandwidthSentence(const std::string& input) {
  double x = bandwidthNumber(input);
  std::string kb = generalNumber(x * 1024 / 8), mb = generalNumber(x / 8), gb = generalNumber(x / 8192);
  return "    经过计算，" + input + "M的宽带，标准下载速度(极限最高速度)为：" + kb + "KB/s；按MB计算是：" + mb +
         "MB/s；按GB计算是：" + gb +
         "GB/s。您也可认为这是最高下载速度。但实际应用中，由于多种原因，往往我们上网都低于 " + kb +
         "KB/s。\r\n    以上就是Zelkora为您提供的信息，仅供参考。";
}

void BandwidthLogic::onCommand(BandwidthCommand command) {
  if (command == BandwidthCommand::Close) {
    main_.setShown(true);
    view_.close();
    return;
  }
  std::string sentence = bandwidthSentence(view_.input());
  view_.setOutput(sentence);
  // The label says the text was copied: only when it was.
  if (clipboard_.setText(sentence)) view_.showCopiedLabel();
}

}  // namespace zk
