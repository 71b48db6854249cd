#include <gtest/gtest.h>
#include <minizip/unzip.h>
#include <zlib.h>

#include <filesystem>
#include <random>
#include <string>

using namespace std::string_literals;

#include "bench/posix_fs.h"
#include "platform/zip_minizip.h"
#include "tests/support/zip_read.h"
#include "text/gbk.h"

namespace zk {
namespace {

class FixedClock : public Clock {
 public:
  LocalTime now() override { return {2026, 12, 9, 14, 5, 8}; }
  std::uint64_t millisecondsSinceStart() override { return 0; }
};

using Entry = test::ReadEntry;

std::vector<Entry> readBack(const std::string& path) {
  return test::readEntries(unzOpen64(path.c_str()));
}

struct ZipWriterTest : ::testing::Test {
  std::filesystem::path dir;
  bench::PosixFileSystem fs;
  FixedClock clock;
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() / ("zk_zip_" + std::to_string(::getpid()) + "_" +
                                                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string put(const std::string& name, const std::string& bytes) {
    std::string path = (dir / name).string();
    EXPECT_TRUE(fs.writeFile(path, bytes));
    return path;
  }
  std::string archive() const { return (dir / "out.zip").string(); }
};

std::string noise(std::size_t n, unsigned seed) {
  std::mt19937 r(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>("0123456789abcdef.# \r\n"[r() % 21]);
  return s;
}

TEST_F(ZipWriterTest, NamesAreGbkWithTheirUtf8FormAndEveryByteComesBack) {
  const std::string hosts = noise(300000, 1);
  std::string other = hosts;
  other[150000] ^= 1;  // same size, one byte apart: must not be taken for the same file
  std::vector<ZipItem> items{
      {"安卓、iPhone版/", ""},
      {"安卓、iPhone版/hosts", put("a", hosts)},
      {"电脑版/hosts", put("b", hosts)},
      {"other", put("c", other)},
      {"空", put("d", "")},
      {"使用教程.txt", put("e", "\xFF\xFEx\0"s)},
  };
  MinizipWriter writer(fs, clock);
  ASSERT_TRUE(writer.write(archive(), items, {}));
  std::vector<Entry> got = readBack(archive());
  ASSERT_EQ(got.size(), items.size());
  const std::string expected[] = {"", hosts, hosts, other, "", "\xFF\xFEx\0"s};
  for (std::size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE(items[i].name);
    std::string gbk = toGbk(items[i].name);
    EXPECT_EQ(got[i].storedName, gbk);
    EXPECT_EQ(got[i].flag & 0x800, 0u) << "no UTF-8 flag";
    EXPECT_EQ(got[i].extra, unicodePathField(gbk, items[i].name));
    EXPECT_EQ(got[i].bytes, expected[i]);
    EXPECT_EQ(got[i].closeResult, UNZ_OK);
    EXPECT_EQ(got[i].method, items[i].sourcePath.empty() ? 0u : static_cast<unsigned long>(Z_DEFLATED));
    EXPECT_EQ(got[i].dosDate, ((2026u - 1980) << 25 | 12u << 21 | 9u << 16 | 14u << 11 | 5u << 5 | 4u));
  }
  // The field itself, byte by byte: id, size, version 1, CRC-32 of the stored name, UTF-8 name.
  std::string field = unicodePathField("ab", "ab");
  uLong crc = crc32(0L, reinterpret_cast<const Bytef*>("ab"), 2);
  std::string crcBytes{static_cast<char>(crc & 0xFF), static_cast<char>((crc >> 8) & 0xFF),
                       static_cast<char>((crc >> 16) & 0xFF), static_cast<char>(crc >> 24)};
  EXPECT_EQ(field, std::string("\x75\x70\x07\x00\x01", 5) + crcBytes + "ab");
}

TEST_F(ZipWriterTest, RefusesBadNamesBeforeWritingAnything) {
  MinizipWriter writer(fs, clock);
  std::string file = put("a", "x");
  for (const std::string& name : {std::string(70000, 'n'), std::string("bad\xFF"), std::string("😀"), std::string()}) {
    EXPECT_FALSE(writer.write(archive(), {{"ok", file}, {name, file}}, {}));
    EXPECT_FALSE(std::filesystem::exists(archive()));
  }
  EXPECT_TRUE(writer.write(archive(), {{std::string(60000, 'n'), file}}, {}));
}

TEST_F(ZipWriterTest, FailsOnAMissingSourceAndOnStop) {
  MinizipWriter writer(fs, clock);
  std::string file = put("a", noise(1 << 20, 2));
  EXPECT_FALSE(writer.write(archive(), {{"a", file}, {"gone", (dir / "missing").string()}}, {}));
  std::stop_source stop;
  stop.request_stop();
  EXPECT_FALSE(writer.write(archive(), {{"a", file}}, stop.get_token()));
  EXPECT_FALSE(writer.write((dir / "no such folder" / "x.zip").string(), {{"a", file}}, {}));
  EXPECT_TRUE(writer.write(archive(), {{"a", file}}, {}));
  EXPECT_EQ(readBack(archive()).size(), 1u);
}

}  // namespace
}  // namespace zk
