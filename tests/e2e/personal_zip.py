#!/usr/bin/env python3
"""Checks the personal pack on the desktop: its entries, Personal.ini's bytes, the program copy.

personal_zip.py ARCHIVE EXE NICKNAME PERSONAL_INI_HEX
"""
import re
import sys
import zipfile

archive, exe, nickname, ini_hex = sys.argv[1:5]
problems = []
with zipfile.ZipFile(archive, metadata_encoding="gbk") as z:
    names = [i.filename for i in z.infolist()]
    marker = [n for n in names if n.startswith("Zelkora/专为")]
    expected = {"Zelkora/", "您可以把文件夹直接拖到别处再打开", "Zelkora/Personal.ini", "Zelkora/TessalyZelkora.exe"}
    if len(marker) != 1 or not re.fullmatch(
        "Zelkora/专为" + re.escape(nickname) + r"定制于：\d{4}年\d{1,2}月\d{1,2}日(\d{1,2}时(\d{1,2}分(\d{1,2}秒)?)?)?",
        marker[0],
    ):
        problems.append("marker entry: %r" % marker)
    if set(names) - set(marker) != expected or len(names) != len(expected) + 1:
        problems.append("entries: %r" % names)
    if z.read("Zelkora/Personal.ini") != bytes.fromhex(ini_hex):
        problems.append("Personal.ini: %r" % z.read("Zelkora/Personal.ini"))
    if z.read("Zelkora/TessalyZelkora.exe") != open(exe, "rb").read():
        problems.append("the program copy differs from the built program")
    for n in marker + ["您可以把文件夹直接拖到别处再打开"]:
        if z.read(n) != b"\0":
            problems.append("marker %s is not one zero byte" % n)
    if z.testzip() is not None:
        problems.append("a damaged entry")
for p in problems:
    print("   ", p)
sys.exit(1 if problems else 0)
