// A nickname made into part of a file name never leaves the pack folder and never grows.
#include <cstdlib>
#include <string>

#include "personal/pack_names.h"
#include "text/gbk.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 512) return 0;
  std::string in(reinterpret_cast<const char*>(data), size);
  std::string out = zk::cleanNicknameForFileName(in);
  if (out.size() > in.size()) std::abort();
  if (out.find_first_of("\\/:*?\"<>|") != std::string::npos) std::abort();
  if (out.find("..") != std::string::npos) std::abort();
  for (unsigned char c : out)
    if (c < 0x20 || c == 0x7F) std::abort();
  if (!out.empty() && (out.back() == '.' || out.back() == ' ' || out.front() == ' ')) std::abort();
  // Whatever is kept goes into a GBK archive name whole, and cleaning it again changes nothing.
  if (!zk::isGbkEncodable(out)) std::abort();
  if (zk::cleanNicknameForFileName(out) != out) std::abort();
  return 0;
}
