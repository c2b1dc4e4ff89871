#!/usr/bin/env python3
"""Checks a Windows program file before it ships: every function it imports (directly or delayed)
is on the list of functions Windows 7 SP1 has, no api-ms-win-* set is imported, the file is at
most 2 MB, and its manifest (resource RT_MANIFEST, id 1) declares Windows 7, 8, 8.1 and 10 as
supported, asInvoker, DPI awareness and Common Controls 6. Reads the PE file itself.

Usage: check-pe.py PROGRAM.exe ALLOWED_IMPORTS.txt
Prints every fault and ends with a summary line; exit code 1 when there is one."""
import re
import struct
import sys
import xml.etree.ElementTree as ElementTree

MAX_SIZE = 2 * 1024 * 1024
RT_MANIFEST = 24
IMPORT_DIRECTORY, RESOURCE_DIRECTORY, DELAY_IMPORT_DIRECTORY = 1, 2, 13
SUPPORTED_OS = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}": "Windows 7",
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}": "Windows 8",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}": "Windows 8.1",
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}": "Windows 10 and 11",
}
ASM = "urn:schemas-microsoft-com:asm.v1"
ASM3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("not a Windows program (no MZ header)")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, sections, _, _, _, optional_size, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.pe32plus = magic == 0x20B
        directories = optional + (112 if self.pe32plus else 96)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(count)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            _, virtual_size, address, raw_size, raw_offset = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((address, max(virtual_size, raw_size), raw_offset))

    def offset(self, rva):
        for address, size, raw in self.sections:
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError(f"address {rva:#x} lies in no section")

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def thunk_names(self, rva):
        """The names (or #ordinals) of one import table's thunks."""
        size, ordinal_flag = (8, 1 << 63) if self.pe32plus else (4, 1 << 31)
        names = []
        while True:
            thunk = struct.unpack_from("<Q" if size == 8 else "<I", self.data, self.offset(rva))[0]
            if thunk == 0:
                return names
            names.append(f"#{thunk & 0xFFFF}" if thunk & ordinal_flag else self.text((thunk & 0x7FFFFFFF) + 2))
            rva += size

    def imports(self):
        """(dll, function) for every import, the delay-loaded ones too."""
        found = []
        rva, _ = self.directory(IMPORT_DIRECTORY)
        while rva:
            lookup, _, _, name, first = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if name == 0:
                break
            found += [(self.text(name), f) for f in self.thunk_names(lookup or first)]
            rva += 20
        rva, _ = self.directory(DELAY_IMPORT_DIRECTORY)
        while rva:
            _, name, _, _, names, _, _, _ = struct.unpack_from("<8I", self.data, self.offset(rva))
            if name == 0:
                break
            found += [(self.text(name), f) for f in self.thunk_names(names)]
            rva += 32
        return found

    def resource(self, type_id, name_id):
        """The data of the first language of resource type/name, or None."""
        root, _ = self.directory(RESOURCE_DIRECTORY)
        if not root:
            return None
        base = self.offset(root)

        def entries(offset):
            named, numbered = struct.unpack_from("<HH", self.data, base + offset + 12)
            for i in range(named + numbered):
                yield struct.unpack_from("<II", self.data, base + offset + 16 + 8 * i)

        def child(offset, wanted):
            for ident, target in entries(offset):
                if wanted is None or (not ident & 0x80000000 and ident == wanted):
                    return target
            return None

        level = 0
        for wanted in (type_id, name_id, None):
            target = child(level, wanted)
            if target is None:
                return None
            level = target & 0x7FFFFFFF
            if not target & 0x80000000:
                data_rva, size, _, _ = struct.unpack_from("<IIII", self.data, base + level)
                start = self.offset(data_rva)
                return self.data[start:start + size]
        return None


def allowed_imports(path):
    """The list file: '[DLL]' lines, then one 'Function  minimum-version' a line; # comments."""
    allowed, dll = {}, None
    for number, line in enumerate(open(path, encoding="utf-8"), 1):
        line = line.split("#", 1)[0].strip()
        if not line:
            continue
        if line.startswith("["):
            dll = line.strip("[]").lower()
            allowed.setdefault(dll, set())
            continue
        parts = line.split(None, 1)
        if dll is None or len(parts) != 2:
            raise ValueError(f"{path}:{number}: expected 'Function  minimum' under a [DLL] line")
        allowed[dll].add(parts[0])
    return allowed


def manifest_faults(manifest):
    if manifest is None:
        return ["no manifest (resource RT_MANIFEST id 1)"]
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        return [f"the manifest is not XML: {error}"]
    faults = []
    declared = {e.get("Id", "").lower() for e in root.iter(f"{{{COMPATIBILITY}}}supportedOS")}
    faults += [f"the manifest does not declare {name} supported ({guid})"
               for guid, name in SUPPORTED_OS.items() if guid not in declared]
    levels = [e.get("level") for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    if levels != ["asInvoker"]:
        faults.append(f"requestedExecutionLevel is {levels}, not asInvoker")
    aware = [(e.text or "").strip().lower() for e in root.iter()
             if e.tag.endswith("}dpiAware") or e.tag.endswith("}dpiAwareness")]
    if not any(re.search(r"true|permonitor", value) for value in aware):
        faults.append(f"the manifest declares no DPI awareness ({aware})")
    controls = [e for e in root.iter(f"{{{ASM}}}assemblyIdentity")
                if e.get("name") == "Microsoft.Windows.Common-Controls"]
    if not any(e.get("version", "").startswith("6.") for e in controls):
        faults.append("the manifest does not ask for Common Controls 6")
    return faults


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    program, list_path = sys.argv[1:]
    data = open(program, "rb").read()
    pe = PeFile(data)
    allowed = allowed_imports(list_path)
    faults = []
    if len(data) > MAX_SIZE:
        faults.append(f"{len(data)} bytes, more than {MAX_SIZE}")
    imports = pe.imports()
    if not imports:
        faults.append("no imports found")
    for dll, function in imports:
        if dll.lower().startswith(("api-ms-win-", "ext-ms-win-")):
            faults.append(f"imports {dll}!{function}: API sets are not on Windows 7")
        elif function not in allowed.get(dll.lower(), ()):
            faults.append(f"imports {dll}!{function}, which is not on the Windows 7 SP1 list")
    faults += manifest_faults(pe.resource(RT_MANIFEST, 1))
    for fault in faults:
        print(f"FAIL: {program}: {fault}")
    dlls = sorted({dll.lower() for dll, _ in imports})
    print(f"{program}: {len(data)} bytes, {len(imports)} imports from {len(dlls)} DLLs "
          f"({', '.join(dlls)}): {len(faults)} faults")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
