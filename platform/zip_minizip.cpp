#include "platform/zip_minizip.h"

#include <zlib.h>

#include <cstring>

#include "text/gbk.h"

#ifdef _WIN32
#include <minizip/zip.h>
// (after zip.h, which declares what it uses)
#include <minizip/iowin32.h>

#include "platform/win32/wide.h"
#else
#include <minizip/ioapi.h>
#include <minizip/zip.h>
#endif

namespace zk {

namespace {

// minizip 1.1 trusts these lengths into 16-bit header fields (CVE-2023-45853): checked first.
constexpr std::size_t kFieldLimit = 0xFFFF;

void putLe16(std::string& out, unsigned v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void putLe32(std::string& out, unsigned long v) {
  putLe16(out, v & 0xFFFF);
  putLe16(out, (v >> 16) & 0xFFFF);
}

// One archive open on disk; closed (and the handle given back) whatever happens.
class Archive {
 public:
  explicit Archive(const std::string& path) {
#ifdef _WIN32
    zlib_filefunc64_def io;
    fill_win32_filefunc64W(&io);
    std::wstring wide = win::widen(path);
    zf_ = zipOpen2_64(wide.c_str(), APPEND_STATUS_CREATE, nullptr, &io);
#else
    zlib_filefunc64_def io;
    fill_fopen64_filefunc(&io);
    std::string local = path;
    for (char& c : local)
      if (c == '\\') c = '/';
    zf_ = zipOpen2_64(local.c_str(), APPEND_STATUS_CREATE, nullptr, &io);
#endif
  }
  ~Archive() {
    if (zf_) zipClose(zf_, nullptr);
  }
  zipFile get() const {
    return zf_;
  }
  // The central directory written and the file closed.
  bool close() {
    zipFile zf = zf_;
    zf_ = nullptr;
    return zf && zipClose(zf, nullptr) == ZIP_OK;
  }

 private:
  zipFile zf_ = nullptr;
};

// A raw deflate stream (no zlib header), as zip entries hold it.
class Deflater {
 public:
  Deflater() { ok_ = deflateInit2(&z_, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) == Z_OK; }
  ~Deflater() {
    if (ok_) deflateEnd(&z_);
  }
  bool ok() const { return ok_; }
  // Deflates a piece (finish: the last one) and hands every compressed piece to sink.
  template <class Sink>
  bool feed(std::string_view in, bool finish, Sink&& sink) {
    z_.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    z_.avail_in = static_cast<uInt>(in.size());
    int flush = finish ? Z_FINISH : Z_NO_FLUSH;
    for (;;) {
      z_.next_out = reinterpret_cast<Bytef*>(buffer_);
      z_.avail_out = sizeof buffer_;
      int r = deflate(&z_, flush);
      if (r == Z_STREAM_ERROR) return false;
      std::size_t made = sizeof buffer_ - z_.avail_out;
      if (made && !sink(std::string_view(buffer_, made))) return false;
      if (finish ? r == Z_STREAM_END : (z_.avail_in == 0 && z_.avail_out != 0)) return true;
    }
  }

 private:
  z_stream z_{};
  bool ok_ = false;
  char buffer_[64 * 1024];
};

// The deflated bytes of the last file, to write again for a later file with the same bytes.
struct Reusable {
  bool valid = false;
  std::string raw, deflated;
  unsigned long crc = 0;
};

zip_fileinfo entryInfo(const LocalTime& t, bool folder, std::uint32_t attributes) {
  zip_fileinfo info{};
  info.tmz_date.tm_sec = t.second;
  info.tmz_date.tm_min = t.minute;
  info.tmz_date.tm_hour = t.hour;
  info.tmz_date.tm_mday = t.day;
  info.tmz_date.tm_mon = t.month > 0 ? t.month - 1 : 0;
  info.tmz_date.tm_year = t.year;
  // The DOS attributes: a folder's, or the file's read-only, hidden, system and archive bits (an
  // unpacked Personal.ini stays hidden).
  info.external_fa = folder ? 0x10 : (attributes & 0x27 ? attributes & 0x27 : 0x20);
  return info;
}

}  // namespace

std::string unicodePathField(std::string_view storedName, std::string_view utf8Name) {
  std::string field;
  putLe16(field, 0x7075);
  putLe16(field, static_cast<unsigned>(5 + utf8Name.size()));
  field += '\x01';
  putLe32(field, crc32(0L, reinterpret_cast<const Bytef*>(storedName.data()), static_cast<uInt>(storedName.size())));
  field += utf8Name;
  return field;
}

bool MinizipWriter::write(const std::string& archivePath, const std::vector<ZipItem>& items, std::stop_token stop) {
  // Every name is checked before anything is written.
  struct Named {
    std::string gbk, extra;
  };
  std::vector<Named> names;
  for (const ZipItem& item : items) {
    GbkBytes gbk = toGbkChecked(item.name);
    if (item.name.empty() || !gbk.complete || gbk.bytes.size() > kFieldLimit) return false;
    if (item.name.size() + 9 > kFieldLimit) return false;
    if (gbk.bytes.find('\0') != std::string::npos) return false;
    names.push_back({gbk.bytes, unicodePathField(gbk.bytes, item.name)});
  }
  if (stop.stop_requested()) return false;
  Archive archive(archivePath);
  if (!archive.get()) return false;
  const LocalTime now = clock_.now();
  Reusable last;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (stop.stop_requested()) return false;
    const ZipItem& item = items[i];
    const bool folder = item.sourcePath.empty();
    zip_fileinfo info = entryInfo(now, folder, folder ? 0 : fs_.fileAttributes(item.sourcePath).value_or(0));
    const std::string& extra = names[i].extra;
    std::int64_t size = folder ? 0 : fs_.fileSize(item.sourcePath);
    if (size < 0) return false;
    const int zip64 = size >= 0xFFFFFFFFll ? 1 : 0;
    if (zipOpenNewFileInZip4_64(archive.get(), names[i].gbk.c_str(), &info, extra.data(),
                                static_cast<uInt>(extra.size()), extra.data(), static_cast<uInt>(extra.size()), nullptr,
                                folder ? 0 : Z_DEFLATED, folder ? 0 : Z_DEFAULT_COMPRESSION, folder ? 0 : 1, -MAX_WBITS,
                                8, Z_DEFAULT_STRATEGY, nullptr, 0, 0, 0, zip64) != ZIP_OK)
      return false;
    if (folder) {
      if (zipCloseFileInZip(archive.get()) != ZIP_OK) return false;
      continue;
    }
    auto put = [&](std::string_view piece) {
      return zipWriteInFileInZip(archive.get(), piece.data(), static_cast<unsigned>(piece.size())) == ZIP_OK;
    };
    // The same bytes as the file before: its deflated bytes again, once every byte is compared.
    if (last.valid && static_cast<std::uint64_t>(size) == last.raw.size()) {
      std::size_t at = 0;
      bool same = fs_.readChunks(item.sourcePath, [&](std::string_view piece) {
        if (stop.stop_requested() || at + piece.size() > last.raw.size() ||
            std::memcmp(last.raw.data() + at, piece.data(), piece.size()) != 0) {
          at = std::string::npos - 1;
          return false;
        }
        at += piece.size();
        return true;
      });
      if (stop.stop_requested()) return false;
      if (same && at == last.raw.size()) {
        if (!put(last.deflated)) return false;
        if (zipCloseFileInZipRaw64(archive.get(), last.raw.size(), last.crc) != ZIP_OK) return false;
        continue;
      }
    }
    Deflater deflater;
    if (!deflater.ok()) return false;
    Reusable next;
    // Small files (the markers between the copies of a document) never push out a bigger one.
    const bool keep = static_cast<std::uint64_t>(size) <= reuseLimit &&
                      (!last.valid || static_cast<std::uint64_t>(size) >= last.raw.size());
    if (keep) next.raw.reserve(static_cast<std::size_t>(size));
    unsigned long crc = crc32(0L, nullptr, 0);
    std::uint64_t total = 0;
    bool failed = false;
    auto sink = [&](std::string_view compressed) {
      if (keep) next.deflated += compressed;
      return put(compressed);
    };
    bool read = fs_.readChunks(item.sourcePath, [&](std::string_view piece) {
      if (stop.stop_requested()) return false;
      for (std::size_t at = 0; at < piece.size();) {  // crc32 takes at most uInt bytes a call
        std::size_t n = std::min<std::size_t>(piece.size() - at, 1u << 30);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(piece.data() + at), static_cast<uInt>(n));
        if (!deflater.feed(piece.substr(at, n), false, sink)) {
          failed = true;
          return false;
        }
        at += n;
      }
      total += piece.size();
      if (keep) next.raw += piece;
      return true;
    });
    if (!read || failed || stop.stop_requested()) return false;
    // The file changed size while it was read: the entry would not say what it holds.
    if (total != static_cast<std::uint64_t>(size)) return false;
    if (!deflater.feed({}, true, sink)) return false;
    if (zipCloseFileInZipRaw64(archive.get(), total, crc) != ZIP_OK) return false;
    if (keep) {
      next.crc = crc;
      next.valid = true;
      last = std::move(next);
    }
  }
  if (stop.stop_requested()) return false;
  return archive.close();
}

}  // namespace zk
