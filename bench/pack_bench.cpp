// The hosts pack of a 20 MB document on real files (tree, tutorial, program copy, archive moved
// into place) against Info-ZIP's zip -r of the same tree at its default level, in one run; and
// the peak memory of the process, which holds the document itself. Prints both with their goals.
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "bench/posix_fs.h"
#include "personal/packs.h"
#include "platform/zip_minizip.h"
#include "tests/support/fakes.h"

extern char** environ;

using namespace zk;
using Clock_ = std::chrono::steady_clock;

namespace {

double seconds(Clock_::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The real writer; while the tree is there, the reference zips the same tree (timed on its own).
class ComparingZip : public ZipWriter {
 public:
  ComparingZip(ZipWriter& real, std::string reference) : real_(real), reference_(std::move(reference)) {}
  bool write(const std::string& archive, const std::vector<ZipItem>& items, std::stop_token stop) override {
    auto began = Clock_::now();
    bool ok = real_.write(archive, items, stop);
    zipTime = Clock_::now() - began;
    std::string folder = bench::PosixFileSystem::p(items.front().sourcePath);
    folder.resize(folder.size() - items.front().name.size() - 1);
    std::filesystem::remove(reference_);
    auto start = Clock_::now();
    pid_t pid = 0;
    std::string target = reference_;
    const char* argv[] = {"/usr/bin/zip", "-r", "-q", target.c_str(), ".", nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    int status = 0;
    bool spawned = posix_spawn(&pid, argv[0], &actions, nullptr, const_cast<char**>(argv), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (spawned) waitpid(pid, &status, 0);
    referenceTime = Clock_::now() - start;
    referenceOk = spawned && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return ok;
  }
  Clock_::duration referenceTime{}, zipTime{};
  bool referenceOk = false;

 private:
  ZipWriter& real_;
  std::string reference_;
};

}  // namespace

int main() {
  std::string dir = (std::filesystem::temp_directory_path() / "zelkora-pack-bench").string();
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir + "/data");
  std::filesystem::create_directories(dir + "/desktop");
  bench::PosixFileSystem fs;
  test::FakeClock clock;
  MinizipWriter real(fs, clock);
  ComparingZip zip(real, dir + "/reference.zip");
  PackPlaces places{dir + "/data", dir + "/desktop", "/proc/self/exe"};

  // 20 MB of hosts lines, made in place (no larger text ever in memory).
  std::string doc;
  doc.reserve(20u << 20);
  char line[80];
  for (int i = 0; doc.size() < (20u << 20); ++i) {
    int n = std::snprintf(line, sizeof line, "203.0.113.%d\thost-%07d.cdn.example.com  # \xD1\xDD\xCA\xBE\r\n",
                          i % 254 + 1, i);
    doc.append(line, static_cast<std::size_t>(n));
  }
  doc.resize(20u << 20);
  auto start = Clock_::now();
  PackOutcome outcome = buildHostsPack(fs, zip, places, doc, clock.now(), {});
  auto total = Clock_::now() - start - zip.referenceTime;
  if (outcome != PackOutcome::Done || !zip.referenceOk) {
    std::printf("hosts pack: FAILED (pack %s, zip -r %s)\n", outcome == PackOutcome::Done ? "done" : "failed",
                zip.referenceOk ? "done" : "failed");
    return 1;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  double peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;
  double docMb = static_cast<double>(doc.size()) / (1 << 20);
  auto ours = std::filesystem::file_size(dir + "/desktop/Quor_Hosts.zip");
  auto theirs = std::filesystem::file_size(dir + "/reference.zip");
  std::printf(
      "hosts pack of %.0f MB: %.2f s (the archive %.2f s, %.1f MB), zip -r of the same tree %.2f s (%.1f MB), ratio "
      "%.2f "
      "(goal <= 1.0)\n",
      docMb, seconds(total), seconds(zip.zipTime), ours / 1048576.0, seconds(zip.referenceTime), theirs / 1048576.0,
      seconds(total) / seconds(zip.referenceTime));
  std::printf("hosts pack peak memory: %.1f MB with the %.0f MB document in hand (goal <= %.0f MB)\n", peakMb, docMb,
              3 * docMb + 30);
  std::filesystem::remove_all(dir);
  return 0;
}
