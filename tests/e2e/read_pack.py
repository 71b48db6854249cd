"""Prints the entries of a pack as the archive holds them: name, kind, MD5 of the bytes.

The names are GBK without the UTF-8 flag (as Chinese Windows writes them); each entry also carries
the Unicode path extra field, which is checked against the name here.
"""
import hashlib
import struct
import sys
import zipfile
import zlib

with zipfile.ZipFile(sys.argv[1], metadata_encoding="gbk") as z:
    assert z.testzip() is None, "bad CRC"
    for info in z.infolist():
        assert not info.flag_bits & 0x800, "UTF-8 flag set"
        extra, unicode_name = info.extra, None
        while len(extra) >= 4:
            tag, size = struct.unpack("<HH", extra[:4])
            if tag == 0x7075:
                body = extra[4:4 + size]
                assert body[0] == 1 and struct.unpack("<I", body[1:5])[0] == zlib.crc32(info.filename.encode("gbk"))
                unicode_name = body[5:].decode("utf-8")
            extra = extra[4 + size:]
        assert unicode_name == info.filename, (unicode_name, info.filename)
        kind = "folder" if info.is_dir() else "file"
        digest = hashlib.md5(z.read(info)).hexdigest() if kind == "file" else "-"
        print(f"{info.filename}|{kind}|{digest}")
