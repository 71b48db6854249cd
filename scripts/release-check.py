#!/usr/bin/env python3
"""Checks a release zip: exactly the four entries, a GBK guide with CR LF lines, checksums that
match, the executable equal to the one built and carrying the version in its version resource.
Prints one line per failed check."""
import hashlib
import struct
import sys
import zipfile

GUIDE = "使用说明.txt"
NAMES = ["Zelkora.exe", GUIDE, "LICENSE", "SHA256SUMS"]


def resource_version_faults(exe_bytes, version):
    """The fixed file info (signature 0xFEEF04BD) and the two version strings of the resource."""
    faults = []
    major, minor = (int(x) for x in version.split(".")[:2])
    at = exe_bytes.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return ["Zelkora.exe has no version resource"]
    _, _, file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<6I", exe_bytes, at)
    if (file_ms, file_ls, product_ms, product_ls) != ((major << 16) | minor, 0, (major << 16) | minor, 0):
        faults.append(f"version resource numbers {file_ms:#x} {product_ms:#x}, not {version}")
    for key in ("FileVersion", "ProductVersion"):
        # A String block: its key in UTF-16, padded to 4 bytes, then the value in UTF-16.
        at = exe_bytes.find(key.encode("utf-16-le") + b"\0\0")
        if at < 0:
            faults.append(f"no {key} in the version resource")
            continue
        at += len(key) * 2 + 2
        at += (4 - at % 4) % 4
        end = exe_bytes.find(b"\0\0", at)
        while end >= 0 and (end - at) % 2:
            end = exe_bytes.find(b"\0\0", end + 1)
        value = exe_bytes[at:end].decode("utf-16-le", "replace")
        if value != version:
            faults.append(f"{key} is {value!r}, not {version}")
    return faults


def check(archive, exe, version):
    faults = []
    with zipfile.ZipFile(archive, metadata_encoding="gbk") as z:
        names = z.namelist()
        if names != NAMES:
            return [f"entries {names}, expected {NAMES}"]
        for info in z.infolist():
            if info.flag_bits & 0x800:
                faults.append(f"{info.filename}: UTF-8 flag set (the packs write GBK names)")
            if b"\x75\x70" not in info.extra:
                faults.append(f"{info.filename}: no Unicode path field")
        files = {n: z.read(n) for n in NAMES}
    guide = files[GUIDE]
    try:
        text = guide.decode("gbk")
    except UnicodeDecodeError as e:
        faults.append(f"guide is not GBK: {e}")
        text = ""
    if b"\0" in guide:
        faults.append("guide holds a NUL byte")
    if guide.replace(b"\r\n", b"").count(b"\n") or guide.replace(b"\r\n", b"").count(b"\r"):
        faults.append("guide has a line end other than CR LF")
    if len(text) < 2000:
        faults.append(f"guide is only {len(text)} characters")
    for name in ("LICENSE",):
        if files[name].replace(b"\r\n", b"").count(b"\n"):
            faults.append(f"{name} has a bare LF")
    sums = {}
    for line in files["SHA256SUMS"].decode("utf-8").splitlines():
        digest, _, name = line.partition("  ")
        sums[name] = digest
    if sorted(sums) != sorted(NAMES[:3]):
        faults.append(f"SHA256SUMS names {sorted(sums)}")
    for name, digest in sums.items():
        if name in files and hashlib.sha256(files[name]).hexdigest() != digest:
            faults.append(f"checksum of {name} does not match")
    with open(exe, "rb") as f:
        if f.read() != files["Zelkora.exe"]:
            faults.append(f"Zelkora.exe in the zip differs from {exe}")
    faults += resource_version_faults(files["Zelkora.exe"], version)
    if not archive.endswith(f"Zelkora-{version}.zip"):
        faults.append(f"{archive} is not named for version {version}")
    return faults


if __name__ == "__main__":
    faults = check(sys.argv[1], sys.argv[2], sys.argv[3])
    for fault in faults:
        print("release:", fault)
    sys.exit(1 if faults else 0)
