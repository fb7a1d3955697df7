#!/usr/bin/env python3
"""check_carried_skin.py PROGRAM.exe SkinH_EL.dll SKIN_BLOCK_DIR

Checks the skin library as the build made it and as the program carries it: the library is
a library of the program's own machine (32- or 64-bit) exporting SkinH_AttachRes under
that plain name and nothing else; the program carries it byte for byte (RCDATA 200), the
33 skins of SKIN_BLOCK_DIR byte for byte (RCDATA 301 to 333) and the packed shape picture
(RCDATA 201). Python standard library only; exits 1 on any fault."""

import os
import struct
import sys

from check_program_resources import pe_layout, resources

RT_RCDATA = 10
PACKED_MAGIC = 0x033E0F0D


def fail(message):
    print(f"check_carried_skin: {message}")
    sys.exit(1)


def machine(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    return struct.unpack_from("<H", data, pe + 4)[0]


def exported_names(data):
    directory_of, to_offset = pe_layout(data)
    export_rva, _ = directory_of(0)
    if export_rva == 0:
        return []
    directory = to_offset(export_rva)
    count, names_rva = struct.unpack_from("<I4xI", data, directory + 24)
    names = []
    for i in range(count):
        name_rva = struct.unpack_from("<I", data, to_offset(names_rva) + 4 * i)[0]
        start = to_offset(name_rva)
        names.append(data[start:data.index(b"\0", start)].decode("ascii"))
    return names


def main():
    if len(sys.argv) != 4:
        fail(__doc__.strip().splitlines()[0])
    program_path, library_path, block_dir = sys.argv[1:]
    program = open(program_path, "rb").read()
    library = open(library_path, "rb").read()
    if machine(library) != machine(program):
        fail(f"{library_path} is not built for the program's machine")
    names = exported_names(library)
    if names != ["SkinH_AttachRes"]:
        fail(f"{library_path} exports {names}, not SkinH_AttachRes alone under its plain name")
    found = resources(program)
    if found.get((RT_RCDATA, 200)) != library:
        fail(f"{program_path} does not carry {library_path} byte for byte")
    for number in range(1, 34):
        block = open(os.path.join(block_dir, "skin_%02d.she" % number), "rb").read()
        if found.get((RT_RCDATA, 300 + number)) != block:
            fail(f"{program_path} does not carry skin {number} byte for byte")
    shape = found.get((RT_RCDATA, 201), b"")
    if len(shape) < 8 or struct.unpack_from("<i", shape)[0] != PACKED_MAGIC:
        fail(f"{program_path} carries no packed shape picture")
    print(f"{program_path}: carries SkinH_EL.dll ({len(library)} bytes, exports "
          f"SkinH_AttachRes), 33 skins and the shape picture ({len(shape)} bytes packed)")


if __name__ == "__main__":
    main()
