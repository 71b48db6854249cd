#!/usr/bin/env python3
"""Checks a release zip: exactly the four entries, a GBK guide with CR LF lines, checksums that
match, and the executable equal to the one built. Prints one line per failed check."""
import hashlib
import sys
import zipfile

GUIDE = "使用说明.txt"
NAMES = ["Zelkora.exe", GUIDE, "LICENSE", "SHA256SUMS"]


def check(archive, exe):
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
    return faults


if __name__ == "__main__":
    faults = check(sys.argv[1], sys.argv[2])
    for fault in faults:
        print("release:", fault)
    sys.exit(1 if faults else 0)
