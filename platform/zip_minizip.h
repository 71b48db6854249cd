// The zip writer on minizip and zlib, the same code on Windows and on Linux.
#pragma once

#include "platform/files.h"
#include "platform/system.h"
#include "platform/zip.h"

namespace zk {

// Entry names are GBK without the UTF-8 flag (what Chinese Windows and its common archivers
// expect) and carry their UTF-8 form in the Info-ZIP Unicode path field (0x7075) for tools that
// read it. Files are deflated at the default level, read in pieces through the file system; a
// file whose bytes equal those of the biggest file before it is written from that file's
// deflated bytes (the four copies of a hosts document are deflated once).
class MinizipWriter : public ZipWriter {
 public:
  // clock: the entries' time (the files are the ones the caller has just written).
  MinizipWriter(FileSystem& fs, Clock& clock) : fs_(fs), clock_(clock) {}
  bool write(const std::string& archivePath, const std::vector<ZipItem>& items, std::stop_token stop) override;

  // The largest file whose bytes are kept to recognise the same bytes in a later entry.
  std::size_t reuseLimit = 64u << 20;

 private:
  FileSystem& fs_;
  Clock& clock_;
};

// The Info-ZIP Unicode path extra field of an entry: id 0x7075, version 1, the CRC-32 of the name
// as stored in the header, then the UTF-8 name.
std::string unicodePathField(std::string_view storedName, std::string_view utf8Name);

}  // namespace zk
