// The hosts file's costly operations on 50 MB, each beside its reference command:
// compose + backup + atomic write against `cp` of the same bytes, and the "# Ti:" scan of the
// file against `grep -F -m1`. bench/hosts.sh runs this and prints the ratios.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "bench/posix_fs.h"
#include "sync/fetch.h"
#include "sync/hosts_file.h"

namespace {

using zk::bench::PosixFileSystem;

struct Files {
  std::string dir = (std::filesystem::temp_directory_path() / "zelkora-bench").string();
  std::string source = dir + "/source.txt";
  std::string target = dir + "/hosts";
  std::string text = zk::bench::bigHostsText();
  Files() {
    std::filesystem::create_directories(dir);
    PosixFileSystem().writeFile(source, text);
    PosixFileSystem().writeFile(target, text);
  }
};

Files& files() {
  static Files f;
  return f;
}

void BM_ComposeBackupAtomicWrite(benchmark::State& state) {
  Files& f = files();
  PosixFileSystem fs;
  for (auto _ : state) {
    // The writer receives the fetched text by move; the copy that stands in for it is not timed.
    state.PauseTiming();
    zk::Fetched fetched;
    fetched.main = f.text;
    fetched.mainDone = true;
    state.ResumeTiming();
    std::string bytes = zk::composeHostsFile(fetched, {2016, 1, 22, 9, 5, 3}, {2016, 1, 22, 9, 5, 3});
    bool ok = zk::writeHostsFile(fs, f.target, bytes, {f.dir + "/backup", 3, nullptr});
    if (!ok) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(f.text.size()));
}

void BM_CpReference(benchmark::State& state) {
  Files& f = files();
  std::string cmd = "cp '" + f.source + "' '" + f.dir + "/copy'";
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("cp failed");
}

void BM_TiScan(benchmark::State& state) {
  Files& f = files();
  PosixFileSystem fs;
  for (auto _ : state) {
    auto stamp = zk::hostsStampOfFile(fs, f.source);
    if (!stamp) state.SkipWithError("no stamp");
    benchmark::DoNotOptimize(stamp);
  }
}

void BM_GrepReference(benchmark::State& state) {
  Files& f = files();
  std::string cmd = "grep -F -m1 '# Ti:' '" + f.source + "' > /dev/null";
  for (auto _ : state)
    if (std::system(cmd.c_str()) != 0) state.SkipWithError("grep failed");
}

BENCHMARK(BM_ComposeBackupAtomicWrite)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_CpReference)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_TiScan)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(BM_GrepReference)->Unit(benchmark::kMillisecond)->MinTime(3);

}  // namespace
