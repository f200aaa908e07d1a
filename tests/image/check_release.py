#!/usr/bin/env python3
"""Checks the release as a user gets it:
    check_release.py SOURCE_DIR BUILD_DIR VERSION CMAKE_OPTIONS...
The build folder makes its own release, as configured; the release signed with a throw-away certificate is built in a
folder of its own and checked as the expectations below say, and against a second build from a copy of the sources."""
import concurrent.futures, hashlib, io, os, pathlib, re, shutil, signal, struct, subprocess, sys, tempfile, time, zipfile

import pefile

# The functions the program may import, by DLL: each one Microsoft documents in Windows 95 and in Windows NT 4
# (the Platform SDK's Requirements: "Windows 95 or later" and "Windows NT 3.1 or later"). Any other import fails,
# by name; adding one is a deliberate edit here. What Windows 95 lacks is looked up at run time: the Unicode
# calls, and what came later (GetLongPathNameA, GetFileAttributesExA, FindFirstFileExA, IsDebuggerPresent,
# InterlockedCompareExchange: Windows 98 or NT 4; GetFileSizeEx: Windows 2000).
IMPORTS = {
    "KERNEL32.DLL": """CloseHandle CreateFileA CreateThread DeleteFileA ExitProcess FileTimeToDosDateTime
        FileTimeToLocalFileTime FindClose FindFirstFileA FindNextFileA GetCPInfo GetCommandLineA GetCurrentProcess
        GetFileInformationByHandle GetFileSize GetLastError GetModuleFileNameA GetModuleHandleA GetPrivateProfileStringA
        GetProcAddress GetProcessHeap GetShortPathNameA GetSystemDirectoryA GetTempPathA GetVersion
        GetWindowsDirectoryA HeapAlloc HeapFree LoadLibraryA OpenProcess ReadFile SetCurrentDirectoryA SetEndOfFile
        SetFilePointer Sleep WaitForSingleObject WriteFile WritePrivateProfileStringA CreateEventA SetEvent
        GetFileAttributesA GetTickCount TerminateProcess WideCharToMultiByte
        GetSystemTimeAsFileTime MultiByteToWideChar""",  # the first from NT 3.5 on; Windows 95 has the second
    "USER32.DLL": """CharToOemA CreateWindowExA DefWindowProcA DestroyWindow GetClassInfoA GetDesktopWindow GetSystemMetrics
        GetWindowThreadProcessId MessageBoxA RegisterClassA UnregisterClassA""",
    "SHELL32.DLL": "ShellExecuteA"}
# The instructions an i486 has, by the names objdump -M intel gives them: the integer and system instructions of the
# Intel486 Programmer's Reference Manual; no x87, which an i486SX lacks (the Intel SDM's "Architecture Compatibility"
# chapter lists what the Pentium and later added). Any other instruction in the code fails, with its address.
PREFIXES = set("lock rep repz repnz cs ds es fs gs ss data16 addr16".split())
I486 = PREFIXES | set("""aaa aad aam aas adc add and arpl bound bsf bsr bswap bt btc btr bts call callw cbw cdq clc
    cld cli clts cmc cmp cmps cmpxchg cwd cwde daa das dec div enter hlt idiv imul in inc ins int int3 into invd
    invlpg iret iretw ja jae jb jbe jcxz je jecxz jg jge jl jle jmp jne jno jnp jns jo jp js lahf lar lds lea leave
    les lfs lgdtd lgs lidtd lldt lmsw lods loop loope loopne lsl lss ltr mov movs movsx movzx mul neg nop not or out
    outs pop popa popaw popf popfw popw push pusha pushaw pushf pushfw pushw rcl rcr ret retf retw rol ror sahf sal
    sar sbb scas seta setae setb setbe sete setg setge setl setle setne setno setnp setns seto setp sets sgdtd shl
    shld shr shrd sidtd sldt smsw stc std sti stos str sub test verr verw wbinvd xadd xchg xlat xor""".split())
failures = []


def expect(condition, what):
    if not condition:
        failures.append(what)


def check_image(path, source, version, objdump, link_map):
    pe = pefile.PE(path)
    header = pe.OPTIONAL_HEADER
    expect(pe.FILE_HEADER.Machine == 0x14C and header.Subsystem == 2, "an i386 GUI program")
    expect(os.path.getsize(path) <= 48 * 1024, f"at most 48 KB (found {os.path.getsize(path)} bytes)")
    expect(header.DllCharacteristics & 0x140 == 0x140 and header.DATA_DIRECTORY[5].Size,
           "ASLR with relocations, and DEP")
    expect(pe.FILE_HEADER.TimeDateStamp == 0, "no time stamp")
    # What Windows 95 loads (reserved fields zero); delay-load imports would escape the check of the imports below.
    for field, found, wanted in (("subsystem version", (header.MajorSubsystemVersion, header.MinorSubsystemVersion), (4, 0)),
                                 ("OS version", (header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion), (4, 0)),
                                 ("section and file alignment", (header.SectionAlignment, header.FileAlignment), (4096, 512)),
                                 ("image base", hex(header.ImageBase), "0x400000"),
                                 ("Win32VersionValue and LoaderFlags", (header.Reserved1, header.LoaderFlags), (0, 0)),
                                 ("delay-load imports' size", header.DATA_DIRECTORY[13].Size, 0)):
        expect(found == wanted, f"{field} {wanted} (found {found})")
    # Every function listed as looked up at run time is in the image by name (and not imported: see below).
    looked_up = re.findall(r"\bCALL\((\w+)\)", read(source, "src/common/looked_up_win32.h").decode())
    missing = [name for name in looked_up if f"{name}\0".encode() not in read(path)]
    expect(len(looked_up) > 30 and not missing, f"every call of looked_up_win32.h looked up by name (not: {missing})")
    unlisted = [f"{e.dll.decode()} {i.name.decode() if i.name else i.ordinal}" for e in pe.DIRECTORY_ENTRY_IMPORT
                for i in e.imports if (i.name or b"").decode() not in IMPORTS.get(e.dll.decode().upper(), "").split()]
    expect(not unlisted, f"imports only the functions listed, which Windows 95 and NT 4 have (found {unlisted})")
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
    # The link map: the image's input sections, each with the file or library member it came from.
    layout = read(link_map).decode().split("Linker script and memory map")[-1]
    sections = [(name, int(at, 16), int(at, 16) + int(size, 16), os.path.basename(origin)) for name, at, size, origin
                in re.findall(r"^ (\.\S+)\s+0x(\w+)\s+0x(\w+) (.+)$", layout, re.M) if int(size, 16)]
    startup = [f"{name} in {origin}" for name, *_, origin in sections
               if re.match(r"\.(ctors|dtors|tls|CRT\$|rdata_runtime_pseudo)", name)]
    expect(not startup and not header.DATA_DIRECTORY[9].Size, "no static constructors or destructors, "
           f"TLS callbacks or pseudo-relocations: no start-up code runs them (found {startup})")
    code = [(start, end, origin) for name, start, end, origin in sections if name.startswith(".text")]
    print("libgcc members linked in:", sorted({origin for *_, origin in code if origin.startswith("libgcc")}) or "none")
    # Every instruction of the image, each range decoded from its own start: in that code, or in what ld puts among it
    # that is data (its fill, and the words of the lists of constructors and destructors). An instruction anywhere
    # else fails, with its address; so does one that runs on past its range's end (for data, into code).
    decode = lambda *bounds: {int(at, 16): (len(raw.split()), text.split()) for at, raw, text in re.findall(
        r"^ *(\w+):\t([^\t\n]*)\t(\S.*)$", subprocess.run([objdump, "-dz", "-M", "intel", "--insn-width=16", *bounds, path],
                                                       capture_output=True, text=True).stdout, re.M)}
    listing, read_code, code_bytes = decode(), 0, {at for start, end, _ in code for at in range(start, end)}
    data = [(int(at, 16), int(at, 16) + int(size, 16), None) for fill, at, size, word
            in re.findall(r"^ (\*fill\*| +) *0x(\w+) +0x(\w+)( LONG )?", layout, re.M)
            if (fill.strip() or word) and min(listing) <= int(at, 16) <= max(listing)]
    lacking = [f"{at:x} {' '.join(words)} (no .text section of the link map)" for at, (_, words) in listing.items()
               if at not in code_bytes and not any(start <= at < end for start, end, _ in data)]
    for start, end, origin in sorted(code + data):
        decoded, at = listing if start in listing else decode(f"--start-address={start}", f"--stop-address={end + 16}"), start
        while at < end:
            length, words = decoded.get(at, (1, ["(none)"]))
            mnemonic = next((word for word in words if word not in PREFIXES), words[-1])
            if origin and (mnemonic not in I486 or mnemonic == "nop" and words[-1] != "nop"):  # 0F 1F, the long NOP
                lacking.append(f"{at:x} {' '.join(words)} ({origin})")
            read_code, at = read_code + bool(origin), at + length
        if at > end and (origin or end in code_bytes):
            lacking.append(f"{start:x} to {end:x} ({origin or 'data'}): its last instruction ends at {at:x}")
    expect(read_code > 1000 and not lacking, f"only instructions that an i486 has, each in code that the link map "
           f"names and within its range (found {lacking})")


def build(folder, name, *configure):  # the zip and its checksum, as built (configured first, when told how)
    if configure:
        subprocess.run(["cmake", "-B", folder, *configure], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", folder, "--target", "dist"], check=True, stdout=subprocess.DEVNULL)
    return {file: read(folder, "dist", file) for file in (name, name + ".sha256")}


def read(*path):
    return pathlib.Path(*path).read_bytes()


def certificate(keys):  # a throw-away one, in a PKCS#12 file whose password is in a file beside it
    pathlib.Path(keys, "password").write_text("throw-away\n")
    for command in ("req -x509 -newkey rsa:2048 -nodes -subj /CN=launch-check -keyout key.pem -out cert.pem",
                    "pkcs12 -export -inkey key.pem -in cert.pem -out cert.p12 -passout file:password"):
        subprocess.run(["openssl", *command.split()], cwd=keys, check=True, capture_output=True)
    return f"-DLAUNCH_SIGN_PKCS12={keys}/cert.p12", f"-DLAUNCH_SIGN_PASSWORD_FILE={keys}/password", "-DLAUNCH_SIGN_TIMESTAMP_URL="


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))  # through the clean-up of the temporary folder
    source, folder, version, *options = sys.argv[1:]
    # The release's date, as the build takes it: every build below gets the same.
    os.environ.setdefault("SOURCE_DATE_EPOCH", subprocess.run(
        ["git", "-C", source, "log", "-1", "--format=%ct"], capture_output=True, text=True).stdout.strip())
    cache = dict(re.findall(r"^(\w+):\w+=(.*)$", read(folder, "CMakeCache.txt").decode(), re.M))
    name = f"launch-{version}-win32.zip"
    build(folder, name)
    with tempfile.TemporaryDirectory() as keys, concurrent.futures.ThreadPoolExecutor() as pool:  # two signed builds at once
        signing, elsewhere = certificate(keys), os.path.join(keys, "a", "copy", "somewhere", "else")
        shutil.copytree(source, elsewhere, ignore=shutil.ignore_patterns("build", ".git"))
        release, again = pool.map(lambda sources, at: build(at, name, "-S", sources, *options, *signing),
                                  (source, elsewhere), (os.path.join(keys, "signed"), os.path.join(elsewhere, "build")))
        unsigned = read(folder, "dist", "launch.exe") == read(folder, "launch.exe")
        expect(unsigned or cache.get("LAUNCH_SIGN_PKCS12"), "the built program, unsigned without a certificate")
        archive = zipfile.ZipFile(io.BytesIO(release[name]))
        content, dates = {entry: archive.read(entry) for entry in archive.namelist()}, {e.date_time[:3] for e in archive.infolist()}
        expect(dates == {time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:3]}, f"the commit's date on every file (found {dates})")
        expect(list(content) == ["launch.exe", "launch.ini", "README.txt", "CHANGELOG.txt", "LICENSE.txt"],
               f"the zip's files (found {list(content)})")
        for entry, origin in ("README.txt", "docs/guide.md"), ("CHANGELOG.txt", "CHANGELOG.md"), ("LICENSE.txt", "LICENSE"):
            text = read(source, origin).replace(b"\n", b"\r\n")
            expect(content.get(entry) == (b"" if text.isascii() else b"\xef\xbb\xbf") + text, f"{entry}: {origin}, CR LF, mark")
        ini = content.get("launch.ini", b"")
        expect(b"\r\n[WEB]\r\n" in ini and b"\r\nAddress=" in ini and ini.count(b"\n") == ini.count(b"\r\n"),
               "launch.ini sets an address, with CR LF line ends")
        digest = hashlib.sha256(release[name]).hexdigest()
        expect(release[name + ".sha256"] == f"{digest}  {name}\n".encode(), "the checksum file")

        pathlib.Path(keys, "launch.exe").write_bytes(content.get("launch.exe", b""))  # the zip's, signed
        check_image(os.path.join(keys, "launch.exe"), source, version, cache["CMAKE_OBJDUMP"], os.path.join(keys, "signed", "launch.map"))
        osslsigncode = lambda *command: not subprocess.run(["osslsigncode", *command], cwd=keys, capture_output=True).returncode
        expect(osslsigncode("verify", "-CAfile", "cert.pem", "-in", "launch.exe"), "a signature that osslsigncode verifies")
        expect(osslsigncode("remove-signature", "-in", "launch.exe", "-out", "bare.exe")
               and read(keys, "bare.exe") == read(folder, "launch.exe"), "the built program, signed")
        expect(again == release, "the same bytes from a second signed build")

    print("\n".join(f"FAILED: {failure}" for failure in failures) or "release checks passed")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
