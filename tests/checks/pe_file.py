"""Reading a built exe back: its PE headers and sections through objdump, its
resources through wrestool. The checks use these so that what they test is
what a tool outside our build sees, not what our build meant to write."""

import re
import struct
import subprocess


def objdump_for(exe):
    """The objdump that knows the exe's machine."""
    with open(exe, "rb") as file:
        data = file.read(4096)
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    machine = struct.unpack_from("<H", data, pe + 4)[0]
    return {0x8664: "x86_64-w64-mingw32-objdump", 0x14C: "i686-w64-mingw32-objdump"}[machine]


def run(command):
    return subprocess.run(command, check=True, capture_output=True).stdout


class PeFile:
    def __init__(self, path):
        self.path = path
        self.objdump = objdump_for(path)
        self.private = run([self.objdump, "-p", path]).decode("utf-8", "replace")
        self.headers = run([self.objdump, "-h", path]).decode("utf-8", "replace")

    def header_value(self, name):
        """A field of the optional header as objdump -p prints it, e.g.
        "DllCharacteristics" -> int."""
        match = re.search(r"^%s\s+([0-9a-fA-Fx]+)" % re.escape(name), self.private, re.M)
        if not match:
            raise KeyError(name)
        text = match.group(1)
        return int(text, 16) if not re.fullmatch(r"\d+\.\d+", text) else text

    def header_text(self, name):
        match = re.search(r"^%s\s+(\S+)" % re.escape(name), self.private, re.M)
        if not match:
            raise KeyError(name)
        return match.group(1)

    def sections(self):
        """[(name, size in memory, size in the file)] in file order."""
        result = []
        lines = self.headers.splitlines()
        for index, line in enumerate(lines):
            match = re.match(r"\s*\d+\s+(\S+)\s+([0-9a-f]+)\s+[0-9a-f]+\s+[0-9a-f]+\s+([0-9a-f]+)", line)
            if not match:
                continue
            name, size = match.group(1), int(match.group(2), 16)
            flags = lines[index + 1] if index + 1 < len(lines) else ""
            stored = size if "CONTENTS" in flags else 0
            result.append((name, size, stored))
        return result

    def imported_dlls(self):
        return [name for name in re.findall(r"^\s*DLL Name: (\S+)", self.private, re.M)]

    def imported_functions(self):
        """{dll lower-case: [function names]} from the import tables."""
        functions = {}
        current = None
        for line in self.private.splitlines():
            match = re.match(r"^\s*DLL Name: (\S+)", line)
            if match:
                current = functions.setdefault(match.group(1).lower(), [])
                continue
            match = re.match(r"^\s+[0-9a-f]+\s+(?:<none>\s+)?[0-9a-f]+\s+(\w+)$", line)
            if current is not None and match:
                current.append(match.group(1))
            elif current is not None and not line.strip():
                current = None
        return functions

    def data_directory_size(self, label):
        """Size of a data directory entry, e.g. "Base Relocation Directory"."""
        match = re.search(r"^Entry [0-9a-f]+ [0-9a-f]+ ([0-9a-f]+) %s" % re.escape(label), self.private, re.M)
        return int(match.group(1), 16) if match else 0


def resources(exe):
    """[(type, name)] in the order wrestool lists them (the resource
    directory's order: names before numbers, numbers ascending)."""
    listing = run(["wrestool", "-l", exe]).decode("utf-8", "replace")
    result = []
    for match in re.finditer(r"--type=(\S+) --name=(\S+)", listing):
        kind, name = match.groups()
        result.append((int(kind) if kind.isdigit() else kind, int(name) if name.isdigit() else name))
    return result


def resource_bytes(exe, kind, name):
    return run(["wrestool", "-x", "--raw", "--type=%s" % kind, "--name=%s" % name, exe])


RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


def parse_version_info(data):
    """VS_VERSIONINFO -> (fixed file info fields, {string name: value})."""

    def node(offset):
        length, value_length, kind = struct.unpack_from("<HHH", data, offset)
        end = offset + length
        key_start = offset + 6
        key_end = key_start
        while data[key_end:key_end + 2] != b"\0\0":
            key_end += 2
        key = data[key_start:key_end].decode("utf-16-le")
        position = (key_end + 2 + 3) & ~3
        if kind == 1:
            value = data[position:position + value_length * 2].decode("utf-16-le").rstrip("\0")
            position += value_length * 2
        else:
            value = data[position:position + value_length]
            position += value_length
        position = (position + 3) & ~3
        children = []
        while position < end:
            child, position = node(position)
            children.append(child)
            position = (position + 3) & ~3
        return (key, value, children), end

    (key, fixed, children), _ = node(0)
    if key != "VS_VERSION_INFO":
        raise ValueError("not a version resource: " + key)
    fields = struct.unpack_from("<13I", fixed)
    if fields[0] != 0xFEEF04BD:
        raise ValueError("no VS_FIXEDFILEINFO")
    fixed_info = {
        "file_version": (fields[2] >> 16, fields[2] & 0xFFFF, fields[3] >> 16, fields[3] & 0xFFFF),
        "product_version": (fields[4] >> 16, fields[4] & 0xFFFF, fields[5] >> 16, fields[5] & 0xFFFF),
        "file_os": fields[8],
        "file_type": fields[9],
    }
    strings = {}
    for child_key, _, grandchildren in children:
        if child_key != "StringFileInfo":
            continue
        for _, _, values in grandchildren:
            for name, value, _ in values:
                strings[name] = value
    return fixed_info, strings
