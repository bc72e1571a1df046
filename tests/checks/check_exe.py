#!/usr/bin/env python3
"""Static checks of a built launcher exe, one aspect per run:

    check_exe.py sizes    EXE
    check_exe.py imports  EXE
    check_exe.py peflags  EXE
    check_exe.py manifest EXE
    check_exe.py version  EXE EXPECTED.json
    check_exe.py icon     EXE ICON.ico RESOURCE_IDS.h

Prints what it found; exit 1 with the reasons when the exe falls short.
"""

import json
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

import pe_file

KIB = 1024
# What a disc launcher may cost: code and data outside the resources, and the
# whole file with the ten-image icon.
MAX_OUTSIDE_RESOURCES = 40 * KIB
MAX_FILE = 128 * KIB

# DLLs that Windows 7 to 11 list as KnownDLLs: the loader maps them from the
# system folder whatever lies beside the exe. comctl32 is not among them
# (user32 brings in version 6 on its own through the manifest).
ALLOWED_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "shlwapi.dll",
    "ole32.dll", "oleaut32.dll", "msvcrt.dll", "comdlg32.dll", "imm32.dll",
}
# Functions newer than Windows 7 (or than its first release): imported
# statically they stop the exe from starting there with "entry point not
# found", so they must be looked up at run time.
NEWER_THAN_WINDOWS_7 = {
    "SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory",
    "GetDpiForWindow", "GetDpiForSystem", "GetDpiForMonitor", "SetProcessDpiAwareness",
    "SetProcessDpiAwarenessContext", "SetThreadDpiAwarenessContext", "GetThreadDpiAwarenessContext",
    "AdjustWindowRectExForDpi", "GetSystemMetricsForDpi", "SystemParametersInfoForDpi",
    "EnableNonClientDpiScaling", "GetProcessMitigationPolicy", "SetProcessMitigationPolicy",
}
# Sections our toolchain writes; anything else suggests a packer or a
# foreign object file.
KNOWN_SECTIONS = {".text", ".data", ".rdata", ".pdata", ".xdata", ".bss", ".idata", ".CRT",
                  ".tls", ".rsrc", ".reloc", ".eh_frame",
                  ".eh_fram"}  # objdump -h cuts long names to eight characters

IMAGE_FILE_RELOCS_STRIPPED = 0x0001
IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA = 0x0020
IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE = 0x0040
IMAGE_DLLCHARACTERISTICS_NX_COMPAT = 0x0100


def check_sizes(exe):
    pe = pe_file.PeFile(exe)
    with open(exe, "rb") as file:
        total = len(file.read())
    sections = pe.sections()
    resources = sum(stored for name, _, stored in sections if name == ".rsrc")
    outside = total - resources
    print("%s: %d bytes in all, %d outside .rsrc, %d in .rsrc" % (exe, total, outside, resources))
    for name, size, stored in sections:
        print("  %-8s %7d in memory %7d in the file" % (name, size, stored))
    problems = []
    if outside > MAX_OUTSIDE_RESOURCES:
        problems.append("%d bytes outside the resources, more than %d" % (outside, MAX_OUTSIDE_RESOURCES))
    if total > MAX_FILE:
        problems.append("%d bytes in all, more than %d" % (total, MAX_FILE))
    foreign = [name for name, _, _ in sections if name not in KNOWN_SECTIONS]
    if foreign:
        problems.append("unexpected sections (packed?): " + ", ".join(foreign))
    return problems


def check_imports(exe):
    pe = pe_file.PeFile(exe)
    functions = pe.imported_functions()
    print("%s imports: %s" % (exe, ", ".join(sorted(functions))))
    problems = ["imports %s, which Windows may load from beside the exe" % dll
                for dll in sorted(functions) if dll not in ALLOWED_DLLS]
    for dll, names in sorted(functions.items()):
        for name in names:
            if name in NEWER_THAN_WINDOWS_7:
                problems.append("imports %s from %s statically; Windows 7 lacks it" % (name, dll))
    if pe.data_directory_size("Delay Import Directory"):
        problems.append("has delay-loaded imports, which search beside the exe")
    return problems


def check_pe_flags(exe):
    pe = pe_file.PeFile(exe)
    is_64 = pe.objdump.startswith("x86_64")
    dll_flags = pe.header_value("DllCharacteristics")
    characteristics = pe.header_value("Characteristics")
    relocations = pe.data_directory_size("Base Relocation Directory")
    subsystem = (pe.header_value("MajorSubsystemVersion"), pe.header_value("MinorSubsystemVersion"))
    print("%s: DllCharacteristics %#06x, Characteristics %#06x, %d bytes of relocations, "
          "subsystem %d.%d" % (exe, dll_flags, characteristics, relocations, *subsystem))
    problems = []
    wanted = {"DYNAMIC_BASE": IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE,
              "NX_COMPAT": IMAGE_DLLCHARACTERISTICS_NX_COMPAT}
    if is_64:
        wanted["HIGH_ENTROPY_VA"] = IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA
    for label, bit in wanted.items():
        if not dll_flags & bit:
            problems.append("%s is not set" % label)
    # DYNAMIC_BASE without relocations is a promise Windows cannot keep: the
    # image then loads at its fixed base, without ASLR.
    if characteristics & IMAGE_FILE_RELOCS_STRIPPED or relocations == 0:
        problems.append("relocations are stripped, so ASLR cannot move the image")
    if pe.header_value("Subsystem") != 2:
        problems.append("not a Windows GUI program")
    if subsystem > (6, 1):
        problems.append("subsystem version %d.%d refuses to start on Windows 7" % subsystem)
    return problems


MANIFEST_NS = {
    "asm1": "urn:schemas-microsoft-com:asm.v1",
    "asm3": "urn:schemas-microsoft-com:asm.v3",
    "compat": "urn:schemas-microsoft-com:compatibility.v1",
    "ws2005": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
    "ws2016": "http://schemas.microsoft.com/SMI/2016/WindowsSettings",
}
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}


def check_manifest(exe):
    manifests = [name for kind, name in pe_file.resources(exe) if kind == pe_file.RT_MANIFEST]
    if manifests != [1]:
        return ["wants exactly one manifest, number 1; found %s" % manifests]
    text = pe_file.resource_bytes(exe, pe_file.RT_MANIFEST, 1)
    try:
        root = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        # Windows refuses to start an exe whose manifest is not well formed.
        return ["manifest is not well-formed XML: %s" % error]
    problems = []
    if root.tag != "{%s}assembly" % MANIFEST_NS["asm1"] or root.get("manifestVersion") != "1.0":
        problems.append("root is not an asm.v1 assembly of manifestVersion 1.0")

    level = root.findall(".//asm3:trustInfo/asm3:security/asm3:requestedPrivileges/"
                         "asm3:requestedExecutionLevel", MANIFEST_NS)
    if len(level) != 1 or level[0].get("level") != "asInvoker" or level[0].get("uiAccess") != "false":
        problems.append("requestedExecutionLevel is not asInvoker with uiAccess false")

    controls = [identity for identity in
                root.findall("asm1:dependency/asm1:dependentAssembly/asm1:assemblyIdentity", MANIFEST_NS)
                if identity.get("name") == "Microsoft.Windows.Common-Controls"]
    if not (len(controls) == 1 and controls[0].get("version") == "6.0.0.0"
            and controls[0].get("processorArchitecture") == "*"
            and controls[0].get("publicKeyToken") == "6595b64144ccf1df"
            and controls[0].get("type") == "win32"):
        problems.append("no dependency on Microsoft.Windows.Common-Controls 6.0.0.0 for any processor")

    found_os = {entry.get("Id", "").lower() for entry in
                root.findall("compat:compatibility/compat:application/compat:supportedOS", MANIFEST_NS)}
    for guid, label in SUPPORTED_OS.items():
        if guid not in found_os:
            problems.append("supportedOS lacks %s" % label)

    settings = "asm3:application/asm3:windowsSettings/"
    dpi_aware = root.findall(settings + "ws2005:dpiAware", MANIFEST_NS)
    dpi_awareness = root.findall(settings + "ws2016:dpiAwareness", MANIFEST_NS)
    if [element.text.strip().lower() for element in dpi_aware] != ["true/pm"]:
        problems.append("dpiAware is not true/pm (system-aware on 7 and 8, per-monitor on 8.1)")
    if [re.sub(r"\s+", "", element.text).lower() for element in dpi_awareness] != ["permonitorv2,permonitor"]:
        problems.append("dpiAwareness is not \"PerMonitorV2, PerMonitor\"")
    print("%s: manifest of %d bytes, %d problems" % (exe, len(text), len(problems)))
    return problems


VOS_NT_WINDOWS32 = 0x40004
VFT_APP = 1


def check_version(exe, expected_path):
    with open(expected_path, encoding="utf-8") as file:
        expected = json.load(file)
    versions = [name for kind, name in pe_file.resources(exe) if kind == pe_file.RT_VERSION]
    if versions != [1]:
        return ["wants exactly one version resource, number 1; found %s" % versions]
    fixed, strings = pe_file.parse_version_info(pe_file.resource_bytes(exe, pe_file.RT_VERSION, 1))
    print("%s: %s" % (exe, json.dumps(strings, ensure_ascii=False)))
    problems = []
    numbers = tuple(int(part) for part in expected["FileVersion"].split("."))
    for field in ("file_version", "product_version"):
        if fixed[field] != numbers:
            problems.append("%s is %s, not %s" % (field, fixed[field], numbers))
    if fixed["file_os"] != VOS_NT_WINDOWS32 or fixed["file_type"] != VFT_APP:
        problems.append("not marked as an application for Windows NT")
    for name, value in expected.items():
        if strings.get(name) != value:
            problems.append("%s is %r, not %r" % (name, strings.get(name), value))
    return problems


def read_icon_directory(data, group):
    """The entries of an ICO file (group False) or of an RT_GROUP_ICON
    (group True): [(width, height, bits, size, offset or resource id)]."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon directory")
    entries = []
    entry_size = 14 if group else 16
    for index in range(count):
        if group:
            width, height, _, _, _, bits, size, identifier = struct.unpack_from(
                "<BBBBHHIH", data, 6 + entry_size * index)
        else:
            width, height, _, _, _, bits, size, identifier = struct.unpack_from(
                "<BBBBHHII", data, 6 + entry_size * index)
        entries.append((width or 256, height or 256, bits, size, identifier))
    return entries


WANTED_ICON_IMAGES = [(size, 24) for size in (16, 24, 32, 48, 64)] + \
                     [(size, 32) for size in (16, 24, 32, 48, 64)]


def resource_id(header, name):
    match = re.search(r"#define\s+%s\s+(\d+)" % name, open(header).read())
    return int(match.group(1))


def check_icon(exe, icon_path, ids_header):
    wanted_id = resource_id(ids_header, "IDI_APPLICATION_ICON")
    listing = pe_file.resources(exe)
    groups = [name for kind, name in listing if kind == pe_file.RT_GROUP_ICON]
    problems = []
    # Explorer shows the first icon group of the resource directory.
    if not groups or groups[0] != wanted_id:
        return ["first icon group is %s, not IDI_APPLICATION_ICON (%d)" % (groups[:1], wanted_id)]
    group = read_icon_directory(pe_file.resource_bytes(exe, pe_file.RT_GROUP_ICON, wanted_id), True)
    with open(icon_path, "rb") as file:
        ico = file.read()
    ico_entries = read_icon_directory(ico, False)
    print("%s: icon group %d with %s" % (exe, wanted_id, ", ".join("%dx%d@%d" % e[:3] for e in group)))

    is_default_icon = icon_path.endswith("res/launcher.ico")
    if is_default_icon and [(w, bits) for w, h, bits, _, _ in group] != WANTED_ICON_IMAGES:
        problems.append("the application icon is not 16, 24, 32, 48, 64 px at 24 bpp, then at 32 bpp")
    if len(group) != len(ico_entries):
        problems.append("the exe's icon has %d images, %s has %d" % (len(group), icon_path, len(ico_entries)))
    for index, (entry, source) in enumerate(zip(group, ico_entries)):
        width, height, bits, size, identifier = entry
        image = pe_file.resource_bytes(exe, pe_file.RT_ICON, identifier)
        original = ico[source[4]:source[4] + source[3]]
        if image != original:
            problems.append("image %d differs from %s" % (index + 1, icon_path))
        if is_default_icon:
            if image.startswith(b"\x89PNG"):
                problems.append("image %d is PNG-compressed" % (index + 1))
                continue
            header_size, dib_width, dib_height, _, dib_bits, compression = struct.unpack_from("<IiiHHI", image)
            if (header_size, dib_width, dib_height, dib_bits, compression) != (40, width, 2 * height, bits, 0):
                problems.append("image %d is not an uncompressed %dx%d DIB of %d bpp with its mask"
                                % (index + 1, width, height, bits))
    return problems


CHECKS = {
    "sizes": check_sizes,
    "imports": check_imports,
    "peflags": check_pe_flags,
    "manifest": check_manifest,
    "version": check_version,
    "icon": check_icon,
}


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in CHECKS:
        print(__doc__, file=sys.stderr)
        return 2
    problems = CHECKS[sys.argv[1]](*sys.argv[2:])
    for problem in problems:
        print("FAIL %s: %s" % (sys.argv[2], problem))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
