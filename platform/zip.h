// Zip archives: a new deflate archive written from files on disk.
#pragma once

#include <stop_token>
#include <string>
#include <vector>

namespace zk {

// One entry of an archive, in the order the entries are written.
struct ZipItem {
  std::string name;        // path inside the archive, UTF-8, "/" separators; a folder's ends with "/"
  std::string sourcePath;  // the file whose bytes the entry holds; empty for a folder
};

class ZipWriter {
 public:
  virtual ~ZipWriter() = default;
  // Writes a new archive at archivePath (replacing a file there) holding the items in order.
  // False on any failure or once stop is requested; the file at archivePath may then be partial,
  // so callers write under a temporary name and move it into place. Blocking: call it from a worker.
  virtual bool write(const std::string& archivePath, const std::vector<ZipItem>& items, std::stop_token stop) = 0;
};

}  // namespace zk
