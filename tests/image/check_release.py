#!/usr/bin/env python3
"""Checks the release as a user gets it:
    check_release.py SOURCE_DIR BUILD_DIR VERSION CMAKE_OPTIONS...
launch.exe: an i386 GUI image of at most 48 KB with ASLR, DEP and no time
stamp, importing only system DLLs and no Unicode call, with its icon,
version information and a manifest that never asks for elevation. The zip:
that program, the example settings, the guide, the changes and the licence
(texts with CR LF line ends), dated with the commit, with its checksum. A
second build from a copy of the sources elsewhere gives the same bytes."""
import hashlib
import os
import shutil
import struct
import subprocess
import sys
import time
import zipfile

import pefile

failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def check_image(path, version):
    pe = pefile.PE(path)
    expect(pe.FILE_HEADER.Machine == 0x14C and pe.OPTIONAL_HEADER.Subsystem == 2, "an i386 GUI program")
    expect(os.path.getsize(path) <= 48 * 1024, f"at most 48 KB (found {os.path.getsize(path)} bytes)")
    expect(pe.OPTIONAL_HEADER.DllCharacteristics & 0x140 == 0x140 and pe.OPTIONAL_HEADER.DATA_DIRECTORY[5].Size,
           "ASLR with relocations, and DEP")
    expect(pe.FILE_HEADER.TimeDateStamp == 0, "no time stamp")
    # Looked up by name at start-up; unused code is dropped at link time.
    expect(b"SetDefaultDllDirectories\0" in read(path), "the DLL search restricted at start-up")
    dlls = sorted(entry.dll.decode().upper() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    expect(dlls == ["KERNEL32.DLL", "MSVCRT.DLL", "SHELL32.DLL", "USER32.DLL"], f"system DLLs only (found {dlls})")
    wide = [i.name.decode() for e in pe.DIRECTORY_ENTRY_IMPORT for i in e.imports if i.name.endswith(b"W")]
    expect(not wide, f"no Unicode calls imported, which Windows 95, 98 and Me lack (found {wide})")
    resources = {(kind.id, str(name.name or name.id)): pe.get_data(leaf.data.struct.OffsetToData, leaf.data.struct.Size)
                 for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries for name in kind.directory.entries
                 for leaf in name.directory.entries}
    group = resources.get((14, "MAINICON"), bytes(6))  # each image's bitmap: width, twice the height, bits
    shapes = sorted(struct.unpack_from("<4xii2xH", resources.get((3, str(struct.unpack_from("<12xH", group, at)[0])), bytes(16)))
                    for at in range(6, len(group), 14))
    expect(shapes == [(32, 64, 8), (32, 64, 32)], f'"MAINICON": 32x32 in 8 and 32 bits (found {shapes})')
    strings = {key.decode(): value.decode() for info in pe.FileInfo[0] for table in getattr(info, "StringTable", [])
               for key, value in table.entries.items()}
    year = time.strftime("%Y", time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"])))  # the release's
    for key, value in {"FileVersion": version + ".0", "ProductVersion": version, "ProductName": "launch",
                       "OriginalFilename": "launch.exe",
                       "LegalCopyright": f"Copyright (C) {year} the launch authors. zlib License."}.items():
        expect(strings.get(key) == value, f"version {key} {value!r} (found {strings.get(key)!r})")
    expect(b'<requestedExecutionLevel level="asInvoker" uiAccess="false"/>' in resources.get((24, "1"), b""),
           "a manifest that runs as invoker")


def build(source, folder, name, *configure):  # the zip and its checksum, as built
    if configure:
        subprocess.run(["cmake", "-S", source, "-B", folder, *configure], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder, "--target", "dist"], check=True, stdout=subprocess.DEVNULL)
    return {file: read(folder, "dist", file) for file in (name, name + ".sha256")}


def read(*path):
    with open(os.path.join(*path), "rb") as file:
        return file.read()


def main():
    source, folder, version, *options = sys.argv[1:]
    # The release's date, as the build takes it: both builds below get the same.
    os.environ.setdefault("SOURCE_DATE_EPOCH", subprocess.run(
        ["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True, text=True).stdout.strip())
    check_image(os.path.join(folder, "launch.exe"), version)
    name = f"launch-{version}-win32.zip"
    release = build(source, folder, name)
    with zipfile.ZipFile(os.path.join(folder, "dist", name)) as archive:
        content = {entry: archive.read(entry) for entry in archive.namelist()}
        dates = {entry.date_time[:3] for entry in archive.infolist()}
    release_date = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:3]
    expect(dates == {release_date}, f"the commit's date {release_date} on every file (found {dates})")
    expect(list(content) == ["launch.exe", "launch.ini", "README.txt", "CHANGELOG.txt", "LICENSE.txt"],
           f"the zip's files (found {list(content)})")
    expect(content.get("launch.exe") == read(folder, "launch.exe"), "the built program")
    for entry, origin in ("README.txt", "docs/guide.md"), ("CHANGELOG.txt", "CHANGELOG.md"), ("LICENSE.txt", "LICENSE"):
        expect(content.get(entry) == read(source, origin).replace(b"\n", b"\r\n"), f"{entry}: {origin} with CR LF")
    ini = content.get("launch.ini", b"")
    expect(b"\r\n[WEB]\r\n" in ini and b"\r\nAddress=" in ini and ini.count(b"\n") == ini.count(b"\r\n"),
           "launch.ini sets an address, with CR LF line ends")
    digest = hashlib.sha256(release[name]).hexdigest()
    expect(release[name + ".sha256"] == f"{digest}  {name}\n".encode(), "the checksum file")

    elsewhere = os.path.join(folder, "reproduce", "a", "copy", "somewhere", "else")
    shutil.rmtree(os.path.join(folder, "reproduce"), ignore_errors=True)
    shutil.copytree(source, elsewhere, ignore=shutil.ignore_patterns("build", ".git"))
    expect(build(elsewhere, os.path.join(elsewhere, "build"), name, *options) == release, "the same bytes from a second build")
    shutil.rmtree(os.path.join(folder, "reproduce"))

    print("\n".join(f"FAILED: {failure}" for failure in failures) or "release checks passed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
