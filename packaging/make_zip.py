#!/usr/bin/env python3
"""Packs files into a ZIP that is the same, byte for byte, wherever and whenever it is made.

make_zip.py <zip> <epoch> <folder> <name>...: the named files of the folder, at the ZIP's top, in
the order given, each with the time <epoch> (seconds, UTC) and the same permissions.
"""
import sys
import time
import zipfile

archive, epoch, folder, names = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4:]
stamp = time.gmtime(max(epoch, 315532800))[:6]  # a ZIP cannot hold a time before 1980
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as out:
    for name in names:
        entry = zipfile.ZipInfo(name, stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.create_system = 0  # the attributes of a plain file on Windows
        entry.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE
        with open(f"{folder}/{name}", "rb") as data:
            out.writestr(entry, data.read())
