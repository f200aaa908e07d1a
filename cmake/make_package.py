#!/usr/bin/env python3
"""Writes the release zip and its SHA-256 checksum file:
    make_package.py ZIP DATE NAME=FILE...
Each FILE goes in under NAME, in the order given; every entry but a program
(.exe) is text and gets CR LF line ends, for Notepad before Windows 10 1809,
and, when it is not ASCII, UTF-8's byte-order mark, by which Notepad before
Windows 10 1903 knows UTF-8.
DATE (YYYY-MM-DD) is stamped on every entry, and nothing else of the build
machine (owner, access times, time zone) goes in: building the same sources
twice gives the same bytes, so anyone can check the published checksum."""
import hashlib
import os
import sys
import zipfile


def main():
    zip_path, date, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    stamp = tuple(int(part) for part in date.split("-")) + (0, 0, 0)
    with zipfile.ZipFile(zip_path + ".part", "w") as archive:
        for name, path in (file.split("=", 1) for file in files):
            entry = zipfile.ZipInfo(name, date_time=stamp)
            entry.create_system = 0  # MS-DOS attributes, as Windows writes them
            entry.external_attr = 0x20  # "archive"
            entry.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as source:
                data = source.read()
            if not name.endswith(".exe"):
                data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
                if not data.isascii():
                    data = b"\xef\xbb\xbf" + data
            archive.writestr(entry, data, compresslevel=9)
    os.replace(zip_path + ".part", zip_path)
    with open(zip_path, "rb") as archive:
        digest = hashlib.sha256(archive.read()).hexdigest()
    # The format "sha256sum -c" reads.
    with open(zip_path + ".sha256", "w", newline="\n") as checksum:
        checksum.write(f"{digest}  {os.path.basename(zip_path)}\n")


if __name__ == "__main__":
    main()
