#!/usr/bin/env python3
"""check_program_resources.py PROGRAM.exe [ICON.ico]

Checks that a Windows program file (32- or 64-bit) carries its icon group with at least
the 16 and 32 pixel images, and a manifest. With ICON.ico, also that the carried images are
byte for byte the ones of that file. Python standard library only; exits 1 on any fault."""

import struct
import sys

RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24


def fail(message):
    print(f"check_program_resources: {message}")
    sys.exit(1)


def pe_layout(data):
    """(directory, to_offset) of a program or library file: directory(i) is the (address,
    size) of data directory i (0 exports, 2 resources); to_offset(address) is where that
    address lies in the file."""
    if data[:2] != b"MZ":
        fail("not a program file")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        fail("no PE header")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    table = optional + optional_size

    def directory(index):
        return struct.unpack_from("<II", data, directories + 8 * index)

    def to_offset(rva):
        for i in range(sections):
            size, address, _, raw = struct.unpack_from("<IIII", data, table + 40 * i + 8)
            if address <= rva < address + max(size, 1):
                return raw + rva - address
        fail(f"address {rva:#x} lies in no section")

    return directory, to_offset


def resources(data):
    """{(type, name): bytes} for every resource of the first language."""
    directory, to_offset = pe_layout(data)
    rsrc_rva, rsrc_size = directory(2)
    if rsrc_rva == 0 or rsrc_size == 0:
        fail("no resource section: the icon and the manifest were not linked in")
    base = to_offset(rsrc_rva)

    def entries(offset):
        named, ids = struct.unpack_from("<12xHH", data, base + offset)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", data, base + offset + 16 + 8 * i)
            yield name, target

    found = {}
    for type_id, type_target in entries(0):
        for name_id, name_target in entries(type_target & 0x7FFFFFFF):
            _, leaf = next(entries(name_target & 0x7FFFFFFF))
            rva, size = struct.unpack_from("<II", data, base + leaf)
            start = to_offset(rva)
            found[(type_id, name_id)] = data[start:start + size]
    return found


def ico_images(path):
    """{(width, height): bytes} of an .ico file."""
    data = open(path, "rb").read()
    count = struct.unpack_from("<H", data, 4)[0]
    images = {}
    for i in range(count):
        w, h, _, _, _, _, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        images[(w or 256, h or 256)] = data[offset:offset + size]
    return images


def main():
    if len(sys.argv) not in (2, 3):
        fail(__doc__.strip().splitlines()[0])
    program = sys.argv[1]
    found = resources(open(program, "rb").read())
    if not any(t == RT_MANIFEST for t, _ in found):
        fail(f"{program} carries no manifest")
    groups = [bytes_ for (t, _), bytes_ in found.items() if t == RT_GROUP_ICON]
    if not groups:
        fail(f"{program} carries no icon group")
    group = groups[0]
    count = struct.unpack_from("<H", group, 4)[0]
    carried = {}
    for i in range(count):
        w, h, _, _, _, bits, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        image = found.get((RT_ICON, icon_id))
        if image is None:
            fail(f"icon image {icon_id} of the group is missing")
        carried[(w or 256, h or 256)] = image
    for size in (16, 32):
        if (size, size) not in carried:
            fail(f"{program} carries no {size} px icon")
    if len(sys.argv) == 3:
        for dims, image in ico_images(sys.argv[2]).items():
            if carried.get(dims) != image:
                fail(f"{program}'s {dims[0]} px icon differs from {sys.argv[2]}")
    sizes = ", ".join(str(w) for w, _ in sorted(carried))
    print(f"{program}: manifest and icon of {sizes} px")


if __name__ == "__main__":
    main()
