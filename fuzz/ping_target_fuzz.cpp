// Whatever passes the ping target check holds nothing a command interpreter would act on, and its
// script line keeps the target as one word; so does whatever a pasted target becomes once trimmed
// and converted, whatever the name conversion answers.
#include <cstdlib>
#include <optional>
#include <string>

#include "nettools/ping.h"

namespace {

void expectOneHarmlessWord(const std::string& s) {
  if (s.empty() || s.front() == '-') std::abort();
  for (unsigned char c : s) {
    bool plain = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-' ||
                 c == ':' || c == '%';
    if (!plain) std::abort();
  }
  if (s.find('%') != s.rfind('%')) std::abort();
  zk::ProgramValues values;
  values.systemFolder = "C:\\Windows\\system32\\";
  std::string line = zk::pingScriptLine(values, s, "C:\\T\\Ping.txt");
  // Every "%" doubled: the interpreter reads none of them as a variable.
  std::size_t singles = 0;
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] == '%') {
      if (i + 1 >= line.size() || line[i + 1] != '%') ++singles;
      ++i;
    }
  if (singles != 0) std::abort();
}

// A conversion that answers anything: the text after the first "=" of the input, if any.
class AnyAnswer : public zk::DomainNames {
 public:
  explicit AnyAnswer(std::string answer) : answer_(std::move(answer)) {}
  std::optional<std::string> toAscii(const std::string&) override { return answer_; }

 private:
  std::string answer_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 300) return 0;
  std::string s(reinterpret_cast<const char*>(data), size);
  if (zk::isPingTarget(s)) expectOneHarmlessWord(s);
  std::size_t eq = s.find('=');
  AnyAnswer names(eq == std::string::npos ? s : s.substr(eq + 1));
  std::optional<std::string> target = zk::pingTargetOf(s.substr(0, eq), names);
  if (target) expectOneHarmlessWord(*target);
  return 0;
}
