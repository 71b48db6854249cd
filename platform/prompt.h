// Message boxes as the logic sees them: text, title, flags in, the button pressed out.
#pragma once

#include <string>

namespace zk {

namespace box {
constexpr unsigned Ok = 0;
constexpr unsigned YesNo = 4;
constexpr unsigned Stop = 16;
constexpr unsigned Question = 32;
constexpr unsigned Warning = 48;
constexpr unsigned Information = 64;
constexpr unsigned Foreground = 65536;
constexpr unsigned Topmost = 262144;
}  // namespace box

enum class Answer { Ok, Yes, No };

class Prompter {
 public:
  virtual ~Prompter() = default;
  // Task-modal; returns when the user has answered.
  virtual Answer show(const std::string& text, const std::string& title, unsigned flags) = 0;
};

}  // namespace zk
