// The bandwidth converter: a subscription in Mbit/s as the top download speed in KB/s, MB/s and
// GB/s, in a sentence that is also put on the clipboard at every change.
#pragma once

#include <string>
#include <string_view>

#include "main/main_view.h"
#include "platform/system.h"

namespace zk {

// Full-width ASCII forms (U+FF01 to U+FF5E) to their ASCII letters, the ideographic space to a blank.
std::string foldFullWidth(std::string_view utf8);
// The leading decimal number after folding: blanks, a sign, digits with a fraction and an
// exponent ("1e3" is 1000). Hex, "inf" and "nan" are no numbers; no number, or one out of
// range, is 0.
double bandwidthNumber(std::string_view input);
// 13 significant digits in the shortest form: no trailing zeros, an exponent below 0.0001 and from
// 10^13 on, written with its sign and three digits ("1.220703125e-005").
std::string generalNumber(double value);
// The output box's sentence for the input as typed.
std::string bandwidthSentence(const std::string& input);

enum class BandwidthCommand { InputChanged, Close };

class BandwidthView {
 public:
  virtual ~BandwidthView() = default;
  virtual std::string input() const = 0;
  virtual void setOutput(const std::string& text) = 0;
  virtual void showCopiedLabel() = 0;
  virtual void close() = 0;
};

class BandwidthLogic {
 public:
  BandwidthLogic(BandwidthView& view, MainView& main, Clipboard& clipboard)
      : view_(view), main_(main), clipboard_(clipboard) {}
  void onCreated() { main_.setShown(false); }
  void onCommand(BandwidthCommand command);

 private:
  BandwidthView& view_;
  MainView& main_;
  Clipboard& clipboard_;
};

}  // namespace zk
