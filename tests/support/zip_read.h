// What an archive holds, read back with minizip's own reader (the native and the Windows-side tests).
#pragma once

#include <minizip/unzip.h>

#include <string>
#include <vector>

#include "text/gbk.h"

namespace zk::test {

struct ReadEntry {
  std::string storedName, name, extra, bytes;  // name: the stored GBK name as UTF-8
  unsigned long flag = 0, method = 0, dosDate = 0, crc = 0, attributes = 0;
  int closeResult = 0;  // UNZ_CRCERROR when the bytes do not match the header's CRC
};

// Every entry of an opened archive, in order; closes it.
inline std::vector<ReadEntry> readEntries(unzFile uf) {
  std::vector<ReadEntry> out;
  if (!uf) return out;
  for (int r = unzGoToFirstFile(uf); r == UNZ_OK; r = unzGoToNextFile(uf)) {
    unz_file_info64 info;
    char name[4096];
    char extra[4096];
    if (unzGetCurrentFileInfo64(uf, &info, name, sizeof name, extra, sizeof extra, nullptr, 0) != UNZ_OK) break;
    ReadEntry e;
    e.storedName.assign(name, info.size_filename);
    e.name = fromGbk(e.storedName);
    e.extra.assign(extra, info.size_file_extra);
    e.flag = info.flag;
    e.method = info.compression_method;
    e.dosDate = info.dosDate;
    e.crc = info.crc;
    e.attributes = info.external_fa;
    unzOpenCurrentFile(uf);
    char buf[65536];
    for (int n; (n = unzReadCurrentFile(uf, buf, sizeof buf)) > 0;) e.bytes.append(buf, static_cast<std::size_t>(n));
    e.closeResult = unzCloseCurrentFile(uf);
    out.push_back(std::move(e));
  }
  unzClose(uf);
  return out;
}

}  // namespace zk::test
