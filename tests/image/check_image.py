#!/usr/bin/env python3
"""Checks a built program file, reading the PE image itself:
    check_image.py IMAGE VERSION [--release]
Every image: a GUI program with ASLR and DEP, no time stamp, the icon group
"MAINICON" with its two 32 by 32 images (8 and 32 bits), the version
information for VERSION and a manifest that never asks for elevation.
--release adds what the shipped 32-bit program promises: an i386 image of at
most 48 KB that imports only KERNEL32, USER32, SHELL32 and msvcrt."""
import struct
import sys
import xml.etree.ElementTree as ElementTree

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
MAX_RELEASE_SIZE = 48 * 1024


class Image:
    def __init__(self, data):
        self.data = data
        pe = self.u32(0x3C)
        if data[:2] != b"MZ" or data[pe : pe + 4] != b"PE\0\0":
            raise ValueError("not a PE image")
        (self.machine, sections, self.time_stamp, _, _, optional_size, _) = struct.unpack_from(
            "<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = self.u16(optional)
        self.subsystem, self.dll_characteristics = struct.unpack_from("<HH", data, optional + 68)
        directories = optional + (96 if self.magic == 0x10B else 112)
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        self.sections = []
        for i in range(sections):
            at = optional + optional_size + 40 * i
            size, address, raw_size, raw_offset = struct.unpack_from("<IIII", data, at + 8)
            self.sections.append((address, max(size, raw_size), raw_offset))

    def u16(self, offset):
        return struct.unpack_from("<H", self.data, offset)[0]

    def u32(self, offset):
        return struct.unpack_from("<I", self.data, offset)[0]

    def offset(self, rva):
        for address, size, raw_offset in self.sections:
            if address <= rva < address + size:
                return rva - address + raw_offset
        raise ValueError(f"address {rva:#x} is in no section")

    def text_at(self, rva):
        start = self.offset(rva)
        return self.data[start : self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        rva, _ = self.directories[1]
        names = []
        while rva:
            name_rva = self.u32(self.offset(rva) + 12)
            if name_rva == 0:
                break
            names.append(self.text_at(name_rva))
            rva += 20
        return names

    def resources(self):
        """{(type, name): [(language, data)]}; names are numbers or texts."""
        root, _ = self.directories[2]
        if root == 0:
            return {}
        base = self.offset(root)

        def entries(directory):
            named, numbered = struct.unpack_from("<HH", self.data, base + directory + 12)
            for i in range(named + numbered):
                name, target = struct.unpack_from("<II", self.data, base + directory + 16 + 8 * i)
                if name & 0x80000000:
                    at = base + (name & 0x7FFFFFFF)
                    name = self.data[at + 2 : at + 2 + 2 * self.u16(at)].decode("utf-16-le")
                yield name, target

        found = {}
        for kind, kind_dir in entries(0):
            for name, name_dir in entries(kind_dir & 0x7FFFFFFF):
                for language, leaf in entries(name_dir & 0x7FFFFFFF):
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    start = self.offset(rva)
                    found.setdefault((kind, name), []).append((language, self.data[start : start + size]))
        return found


def version_strings(block):
    """The key-value pairs of a VS_VERSIONINFO block, and its fixed part."""
    values, fixed = {}, None

    def walk(at, end, depth):
        nonlocal fixed
        while at < end:
            length, value_length, is_text = struct.unpack_from("<HHH", block, at)
            if length == 0:
                break
            key_end = at + 6
            while block[key_end : key_end + 2] != b"\0\0":
                key_end += 2
            key = block[at + 6 : key_end].decode("utf-16-le")
            value_at = (key_end + 2 + 3) & ~3
            if depth == 0:
                fixed = struct.unpack_from("<13I", block, value_at)
                walk((value_at + value_length + 3) & ~3, at + length, 1)
            elif is_text and value_length and depth == 3:
                values[key] = block[value_at : value_at + 2 * value_length].decode("utf-16-le").rstrip("\0")
            elif not value_length:
                walk(value_at, at + length, depth + 1)
            at = (at + length + 3) & ~3

    walk(0, len(block), 0)
    return values, fixed


def check(path, version, release):
    failures = []

    def expect(condition, what):
        if not condition:
            failures.append(what)

    data = open(path, "rb").read()
    image = Image(data)
    if release:
        expect(image.machine == 0x14C and image.magic == 0x10B, "a PE32 image for i386")
        expect(len(data) <= MAX_RELEASE_SIZE, f"at most {MAX_RELEASE_SIZE} bytes (found {len(data)})")
        imports = sorted(name.upper() for name in image.imports())
        expect(imports == ["KERNEL32.DLL", "MSVCRT.DLL", "SHELL32.DLL", "USER32.DLL"],
               f"imports only KERNEL32, MSVCRT, SHELL32, USER32 (found {imports})")
    expect(image.subsystem == 2, "GUI subsystem")
    expect(image.dll_characteristics & 0x40, "ASLR (dynamic base)")
    expect(image.dll_characteristics & 0x100, "DEP (NX compatible)")
    expect(image.directories[5][1] > 0, "relocations, so that ASLR can move the image")
    expect(image.time_stamp == 0, f"no time stamp (found {image.time_stamp:#x})")

    resources = image.resources()
    groups = resources.get((RT_GROUP_ICON, "MAINICON"), [])
    expect(len(groups) == 1, 'one icon group "MAINICON"')
    if groups:
        group = groups[0][1]
        count = struct.unpack_from("<H", group, 4)[0]
        images = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]
        shapes = sorted((width, height, bits) for width, height, _, _, _, bits, _, _ in images)
        expect(shapes == [(32, 32, 8), (32, 32, 32)],
               f'"MAINICON" holds a 32x32 8-bit and a 32x32 32-bit image (found {shapes})')
        for width, height, _, _, _, bits, size, icon_id in images:
            icons = resources.get((RT_ICON, icon_id), [])
            header = struct.unpack_from("<IiiHH", icons[0][1]) if icons else None
            expect(header == (40, width, 2 * height, 1, bits) and len(icons[0][1]) == size,
                   f"icon image {icon_id} is a {width}x{height} {bits}-bit bitmap of {size} bytes")

    versions = resources.get((RT_VERSION, 1), [])
    expect(len(versions) == 1, "version information")
    if versions:
        strings, fixed = version_strings(versions[0][1])
        four = version + ".0" * (3 - version.count("."))
        expected = {"FileVersion": four, "ProductVersion": version, "OriginalFilename": "launch.exe",
                    "InternalName": "launch", "ProductName": "launch"}
        for key, value in expected.items():
            expect(strings.get(key) == value, f"version {key} is {value!r} (found {strings.get(key)!r})")
        for key in ("FileDescription", "LegalCopyright"):
            expect(strings.get(key), f"version {key} is set")
        numbers = [int(part) for part in four.split(".")]
        packed = (numbers[0] << 16 | numbers[1], numbers[2] << 16 | numbers[3])
        expect(fixed and fixed[0] == 0xFEEF04BD and fixed[2:4] == packed and fixed[4:6] == packed,
               f"fixed file and product version {four}")

    manifests = resources.get((RT_MANIFEST, 1), [])
    expect(len(manifests) == 1, "a manifest for the process (RT_MANIFEST 1)")
    if manifests:
        root = ElementTree.fromstring(manifests[0][1])
        levels = [element.attrib for element in root.iter("{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel")]
        expect(levels == [{"level": "asInvoker", "uiAccess": "false"}],
               f"execution level asInvoker without UI access (found {levels})")
    return failures


def main():
    release = "--release" in sys.argv
    path, version = [argument for argument in sys.argv[1:] if argument != "--release"]
    failures = check(path, version, release)
    for failure in failures:
        print(f"FAILED: {failure}")
    if not failures:
        print("image checks passed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
