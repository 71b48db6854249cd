// The "# Ti:" stamp, read from a file in pieces of any size, against a plain search of the whole.
#include <cstdlib>
#include <optional>
#include <string>

#include "fuzz/fuzz_input.h"
#include "sync/hosts_file.h"
#include "tests/support/fakes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zk;
  fuzz::Input in(data, size);
  std::size_t piece = 1 + in.byte() % 40;
  std::string file(in.rest());
  std::optional<std::string> expected;
  if (std::size_t at = file.find("# Ti:"); at != std::string::npos) expected = file.substr(at + 5, 9);
  if (hostsStamp(file) != expected) std::abort();
  test::FakeFileSystem fs;
  fs.addFile("C:\\etc\\hosts", file);
  fs.chunkSize = piece;
  if (hostsStampOfFile(fs, "C:\\etc\\hosts") != expected) std::abort();
  return 0;
}
