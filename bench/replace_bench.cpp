// Replace-all on 50 MB of hosts text, for a pattern on every line (by a text as long, which is
// replaced in place, and by a longer one, which needs a new text) and for one that is not there,
// on the GBK bytes of a hosts file and on the UTF-8 form the editor holds. bench/replace.sh runs
// this and Python's bytes.replace on the same bytes and prints the ratios.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "bench/posix_fs.h"
#include "text/gbk.h"
#include "text/replace.h"

namespace {

struct Texts {
  std::string utf8 = zk::bench::bigHostsText();
  std::string gbk = zk::toGbk(utf8);
  Texts() {
    // The same bytes for the reference run.
    auto dir = std::filesystem::temp_directory_path() / "zelkora-bench";
    std::filesystem::create_directories(dir);
    zk::bench::PosixFileSystem().writeFile((dir / "replace-gbk.txt").string(), gbk);
    zk::bench::PosixFileSystem().writeFile((dir / "replace-utf8.txt").string(), utf8);
  }
};

const Texts& texts() {
  static Texts t;
  return t;
}

void run(benchmark::State& state, const std::string& text, const char* pattern, const char* replacement) {
  for (auto _ : state) {
    state.PauseTiming();
    std::string copy = text;  // the editor's text as read from the document
    state.ResumeTiming();
    bool changed = zk::replaceAll(copy, pattern, replacement);
    benchmark::DoNotOptimize(changed);
    benchmark::DoNotOptimize(copy.data());
  }
}

void BM_ReplaceOftenGbk(benchmark::State& s) {
  run(s, texts().gbk, "cdn.example.com", "cdn.example.net");
}
void BM_ReplaceLongerGbk(benchmark::State& s) {
  run(s, texts().gbk, "cdn.example.com", "cdn.example.com.cn");
}
void BM_ReplaceAbsentGbk(benchmark::State& s) {
  run(s, texts().gbk, "zelkora-not-here", "x");
}
void BM_ReplaceOftenUtf8(benchmark::State& s) {
  run(s, texts().utf8, "cdn.example.com", "cdn.example.net");
}
void BM_ReplaceLongerUtf8(benchmark::State& s) {
  run(s, texts().utf8, "cdn.example.com", "cdn.example.com.cn");
}
void BM_ReplaceAbsentUtf8(benchmark::State& s) {
  run(s, texts().utf8, "zelkora-not-here", "x");
}

}  // namespace

BENCHMARK(BM_ReplaceOftenGbk)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ReplaceLongerGbk)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ReplaceAbsentGbk)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ReplaceOftenUtf8)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ReplaceLongerUtf8)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_ReplaceAbsentUtf8)->Unit(benchmark::kMillisecond)->MinTime(2);
