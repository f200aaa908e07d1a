#!/usr/bin/env python3
"""Builds the release zip and checks it:
    check_package.py BUILD_DIR VERSION README
It holds exactly the built launch.exe, the example launch.ini (Windows line
ends) and the README, and its checksum file names it with its SHA-256."""
import hashlib
import os
import subprocess
import sys
import zipfile


def main():
    build, version, readme = sys.argv[1:]
    subprocess.run(["cmake", "--build", build, "--target", "dist"], check=True, stdout=subprocess.DEVNULL)
    name = f"launch-{version}-win32.zip"
    path = os.path.join(build, "dist", name)
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    with zipfile.ZipFile(path) as archive:
        names = archive.namelist()
        expect(names == ["launch.exe", "launch.ini", "README.md"],
               f"launch.exe, launch.ini and README.md (found {names})")
        content = {entry: archive.read(entry) for entry in names}
        expect(archive.testzip() is None, "entries intact")
    expect(content.get("launch.exe") == open(os.path.join(build, "launch.exe"), "rb").read(),
           "launch.exe is the built program")
    expect(content.get("README.md") == open(readme, "rb").read(), "README.md is the README")
    ini = content.get("launch.ini", b"")
    lines = ini.split(b"\r\n")
    expect(ini.endswith(b"\r\n") and not any(b"\n" in line or b"\r" in line for line in lines),
           "launch.ini has Windows line ends")
    expect(b"[WEB]" in lines and any(line.startswith(b"Address=") for line in lines)
           and any(line.startswith(b"Error=") for line in lines),
           "launch.ini sets Address and Error in [WEB]")
    digest = hashlib.sha256(open(path, "rb").read()).hexdigest()
    checksum = open(path + ".sha256", "rb").read()
    expect(checksum == f"{digest}  {name}\n".encode(), f"checksum file reads '<sha256>  {name}'")

    for failure in failures:
        print(f"FAILED: {failure}")
    if not failures:
        print(f"release zip checks passed: {name}, {os.path.getsize(path)} bytes, sha256 {digest}")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
