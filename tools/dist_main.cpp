// zk_dist: the two steps of `make dist` that need the program's own code.
//   zk_dist guide SOURCE OUT                 the UTF-8 guide as a GBK text with CR LF lines
//   zk_dist zip ARCHIVE EPOCH FOLDER NAME... FOLDER/NAME for each NAME, in order, entry time EPOCH
// The archive is written as the packs write theirs (GBK names, the Unicode path field), under a
// temporary name first and moved into place once complete.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stop_token>
#include <string>
#include <vector>

#include "bench/posix_fs.h"
#include "platform/zip_minizip.h"
#include "tools/release.h"

namespace {

class FixedClock : public zk::Clock {
 public:
  explicit FixedClock(zk::LocalTime t) : t_(t) {}
  zk::LocalTime now() override { return t_; }
  std::uint64_t millisecondsSinceStart() override { return 0; }

 private:
  zk::LocalTime t_;
};

// A guide source is a few tens of kilobytes; anything far bigger is not one.
constexpr std::uintmax_t kGuideLimit = 1u << 20;

int fail(const std::string& what) {
  std::fprintf(stderr, "zk_dist: %s\n", what.c_str());
  return 1;
}

bool writeWhole(const std::filesystem::path& out, const std::string& bytes) {
  std::filesystem::path part = out;
  part += ".part";
  {
    std::ofstream f(part, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!f.flush()) return false;
  }
  std::error_code ec;
  std::filesystem::rename(part, out, ec);
  if (ec) std::filesystem::remove(part, ec);
  return !ec;
}

int guide(const std::filesystem::path& source, const std::filesystem::path& out) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(source, ec);
  if (ec || size > kGuideLimit) return fail("cannot read the guide " + source.string() + " (or it is over 1 MB)");
  std::ifstream f(source, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  std::string why;
  auto gbk = zk::release::windowsGuide(text, why);
  if (!gbk) return fail(source.string() + ": " + why);
  if (!writeWhole(out, *gbk)) return fail("cannot write " + out.string());
  return 0;
}

int zip(const std::string& archive, const std::string& epoch, const std::string& folder,
        const std::vector<std::string>& names) {
  auto when = zk::release::entryTime(epoch);
  if (!when) return fail("the entry time is not a number of seconds: " + epoch);
  std::vector<zk::ZipItem> items;
  for (const std::string& name : names) {
    if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
      return fail("not a plain file name: " + name);
    if (!std::filesystem::is_regular_file(folder + "/" + name)) return fail("no file " + folder + "/" + name);
    items.push_back({name, folder + "/" + name});
  }
  zk::bench::PosixFileSystem fs;
  FixedClock clock(*when);
  zk::MinizipWriter writer(fs, clock);
  const std::string part = archive + ".part";
  std::error_code ec;
  if (!writer.write(part, items, std::stop_token())) {
    std::filesystem::remove(part, ec);
    return fail("cannot write " + part);
  }
  std::filesystem::rename(part, archive, ec);
  if (ec) {
    std::filesystem::remove(part, ec);
    return fail("cannot move the archive to " + archive);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "guide") return guide(args[1], args[2]);
  if (args.size() >= 5 && args[0] == "zip")
    return zip(args[1], args[2], args[3], std::vector<std::string>(args.begin() + 4, args.end()));
  std::fprintf(stderr,
               "usage: zk_dist guide SOURCE OUT\n"
               "       zk_dist zip ARCHIVE EPOCH FOLDER NAME...\n");
  return 2;
}
