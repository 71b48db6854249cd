#!/usr/bin/env python3
"""Reads a shell link (.lnk) file as the shell-link binary format lays it out and checks it.

usage: read_lnk.py FILE TARGET-SUFFIX DESCRIPTION [FOLDER-SUFFIX]
Prints the target, the description and the working folder; exits 1 unless the target path ends
with TARGET-SUFFIX (case-insensitive, Windows separators), the description is DESCRIPTION exactly
and, when FOLDER-SUFFIX is given, the working folder ends with it.
"""
import struct
import sys

HAS_ID_LIST, HAS_LINK_INFO, HAS_NAME, IS_UNICODE = 0x1, 0x2, 0x4, 0x80
STRING_FLAGS = (0x4, 0x8, 0x10, 0x20, 0x40)  # name, relative path, working dir, arguments, icon


def c_string(data, at, wide):
    if wide:
        end = at
        while data[end:end + 2] != b"\0\0":
            end += 2
        return data[at:end].decode("utf-16-le")
    end = data.index(b"\0", at)
    return data[at:end].decode("gbk")


def read(data):
    header_size, = struct.unpack_from("<I", data, 0)
    if header_size != 0x4C or data[4:20] != bytes.fromhex("0114020000000000c000000000000046"):
        raise ValueError("not a shell link header")
    flags, = struct.unpack_from("<I", data, 20)
    at = header_size
    if flags & HAS_ID_LIST:
        size, = struct.unpack_from("<H", data, at)
        at += 2 + size
    target = None
    if flags & HAS_LINK_INFO:
        info_size, info_header, info_flags, _, base, _, suffix = struct.unpack_from("<7I", data, at)
        if info_flags & 1:  # a volume and a local base path
            if info_header >= 0x24:
                base_w, suffix_w = struct.unpack_from("<2I", data, at + 28)
                target = c_string(data, at + base_w, True) + c_string(data, at + suffix_w, True)
            else:
                target = c_string(data, at + base, False) + c_string(data, at + suffix, False)
        at += info_size
    strings = {}
    for flag in STRING_FLAGS:
        if flags & flag:
            count, = struct.unpack_from("<H", data, at)
            at += 2
            width = 2 if flags & IS_UNICODE else 1
            raw = data[at:at + count * width]
            # Wine counts the terminating NUL in, Windows does not: one at the end is not text.
            strings[flag] = raw.decode("utf-16-le" if width == 2 else "gbk").removesuffix("\0")
            at += count * width
    return target, strings.get(HAS_NAME), strings.get(0x10)


def main():
    path, suffix, description = sys.argv[1:4]
    folder_suffix = sys.argv[4] if len(sys.argv) > 4 else None
    with open(path, "rb") as f:
        target, name, folder = read(f.read())
    print(f"target={target!r} description={name!r} working={folder!r}")
    ok = target is not None and target.lower().endswith(suffix.lower()) and name == description
    if folder_suffix is not None:
        ok = ok and folder is not None and folder.lower().endswith(folder_suffix.lower())
    sys.exit(0 if ok else 1)


if __name__ == "__main__":
    main()
