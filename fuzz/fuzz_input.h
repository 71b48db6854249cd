// Taking typed values off the front of a fuzzer's input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zk::fuzz {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}
  std::uint8_t byte() {
    if (rest_.empty()) return 0;
    auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  int number(int low, int high) {
    unsigned v = byte() | (byte() << 8);
    return low + static_cast<int>(v % static_cast<unsigned>(high - low + 1));
  }
  // A text of at most max bytes.
  std::string text(std::size_t max) {
    std::size_t n = std::min<std::size_t>(byte() % (max + 1), rest_.size());
    std::string out(rest_.substr(0, n));
    rest_.remove_prefix(n);
    return out;
  }
  std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

}  // namespace zk::fuzz
