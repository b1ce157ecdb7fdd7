#!/usr/bin/env python3
"""Checks the Windows resources of numerillo.exe as the resource compiler produced them.

Reads the COFF object that windres makes from resources/numerillo.rc (the object the linker
puts into numerillo.exe), walks its .rsrc resource tree and checks:
  - the version resource: its language, the fixed file and product versions, the string
    table named after the translation, the wanted strings in it, and the Translation value;
  - the icon: an RT_GROUP_ICON whose entries match the .ico file image by image, each one
    pointing at an RT_ICON that holds exactly that image's bytes.

Exits 0 when everything holds, 1 with one line per problem otherwise.
"""

import argparse
import struct
import sys

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
IMAGE_REL_I386_DIR32NB = 7
IMAGE_REL_AMD64_ADDR32NB = 3
VS_FFI_SIGNATURE = 0xFEEF04BD


class ResourceError(Exception):
    pass


def read_rsrc_section(data):
    """Returns (section bytes, {offset within section: addend}) of the object's .rsrc section.

    In an object file the data entries' OffsetToData fields are not final: each one has an
    image-relative relocation against a symbol of the .rsrc section, and the linker adds that
    symbol's address. The map gives, for each relocated field, the symbol's offset in the
    section, so that field + addend is the data's offset in the section.
    """
    if len(data) < 20:
        raise ResourceError("file too short for a COFF header")
    machine, nsections, _, symtab, nsyms, opt_size, _ = struct.unpack_from("<HHIIIHH", data, 0)
    if machine not in (0x14C, 0x8664):
        raise ResourceError(f"not an i386 or x86-64 COFF object (machine 0x{machine:04x})")
    rsrc_index = None
    section = None
    for i in range(nsections):
        fields = struct.unpack_from("<8sIIIIIIHHI", data, 20 + opt_size + 40 * i)
        name = fields[0].rstrip(b"\0")
        if name == b".rsrc":
            if rsrc_index is not None:
                raise ResourceError("more than one .rsrc section")
            rsrc_index = i + 1  # section numbers in the symbol table count from 1
            section = fields
    if section is None:
        raise ResourceError("no .rsrc section")
    _, _, _, size, raw, relocs, _, nrelocs, _, _ = section
    body = data[raw:raw + size]
    if len(body) != size:
        raise ResourceError(".rsrc section runs past the end of the file")

    addends = {}
    for r in range(nrelocs):
        where, sym, rtype = struct.unpack_from("<IIH", data, relocs + 10 * r)
        if rtype not in (IMAGE_REL_I386_DIR32NB, IMAGE_REL_AMD64_ADDR32NB):
            raise ResourceError(f"unexpected relocation type {rtype} at 0x{where:x}")
        if sym >= nsyms:
            raise ResourceError(f"relocation at 0x{where:x} names symbol {sym}, past the table")
        _, value, secnum, _, _, _ = struct.unpack_from("<8sIhHBB", data, symtab + 18 * sym)
        if secnum != rsrc_index:
            raise ResourceError(f"relocation at 0x{where:x} points outside .rsrc")
        addends[where] = value
    return body, addends


def walk_tree(body, addends):
    """Returns {(type, name, language): bytes} for every resource in the tree."""

    def entries(offset):
        if offset + 16 > len(body):
            raise ResourceError(f"resource directory at 0x{offset:x} runs past the section")
        named, ids = struct.unpack_from("<HH", body, offset + 12)
        for k in range(named + ids):
            name, target = struct.unpack_from("<II", body, offset + 16 + 8 * k)
            if name & 0x80000000:
                at = name & 0x7FFFFFFF
                (length,) = struct.unpack_from("<H", body, at)
                key = body[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            else:
                key = name
            yield key, target

    def subdir(target, what):
        if not target & 0x80000000:
            raise ResourceError(f"{what} level holds data where a directory belongs")
        return target & 0x7FFFFFFF

    resources = {}
    for rtype, t in entries(0):
        for rname, n in entries(subdir(t, "type")):
            for lang, leaf in entries(subdir(n, "name")):
                if leaf & 0x80000000:
                    raise ResourceError("language level holds a directory where data belongs")
                if leaf not in addends:
                    raise ResourceError(f"data entry of {rtype}/{rname} has no relocation")
                stored, size = struct.unpack_from("<II", body, leaf)
                start = stored + addends[leaf]
                if start + size > len(body):
                    raise ResourceError(f"data of {rtype}/{rname} runs past the section")
                resources[(rtype, rname, lang)] = body[start:start + size]
    return resources


def align4(n):
    return (n + 3) & ~3


def read_block(buf, offset):
    """One node of a VS_VERSIONINFO tree: (key, type, value bytes, children, end offset)."""
    if offset + 6 > len(buf):
        raise ResourceError("version block runs past the resource")
    length, value_length, vtype = struct.unpack_from("<HHH", buf, offset)
    end = offset + length
    if length < 6 or end > len(buf):
        raise ResourceError(f"version block at 0x{offset:x} has a bad length {length}")
    k = offset + 6
    while True:
        if k + 2 > end:
            raise ResourceError(f"unterminated key in version block at 0x{offset:x}")
        if buf[k:k + 2] == b"\0\0":
            break
        k += 2
    key = buf[offset + 6:k].decode("utf-16-le")
    value_start = align4(k + 2)
    value_size = value_length * 2 if vtype == 1 else value_length
    value = buf[value_start:min(value_start + value_size, end)]
    children = []
    child = align4(value_start + value_size)
    while child < end:
        node = read_block(buf, child)
        children.append(node)
        child = align4(node[4])
    return key, vtype, value, children, end


def text_of(value):
    text = value.decode("utf-16-le", errors="strict")
    return text.split("\0", 1)[0]


def check_version(resources, expect, problems):
    found = [(key, data) for key, data in resources.items() if key[0] == RT_VERSION]
    if len(found) != 1:
        problems.append(f"expected one version resource, found {len(found)}")
        return
    (_, _, lang), data = found[0]
    want_lang, want_cp = expect.translation
    if lang != want_lang:
        problems.append(f"version resource language is 0x{lang:04x}, expected 0x{want_lang:04x}")

    key, _, fixed, children, _ = read_block(data, 0)
    if key != "VS_VERSION_INFO":
        problems.append(f"version root is named {key!r}")
    if len(fixed) != 52 or struct.unpack_from("<I", fixed, 0)[0] != VS_FFI_SIGNATURE:
        problems.append("VS_FIXEDFILEINFO missing or without its signature")
    else:
        fms, fls, pms, pls = struct.unpack_from("<IIII", fixed, 8)
        for label, ms, ls, want in (("file", fms, fls, expect.file_version),
                                    ("product", pms, pls, expect.product_version)):
            got = (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
            if got != want:
                problems.append(f"fixed {label} version is {'.'.join(map(str, got))}, "
                                f"expected {'.'.join(map(str, want))}")

    table_name = f"{want_lang:04X}{want_cp:04X}"
    strings = None
    translations = None
    for ckey, _, _, grandchildren, _ in children:
        if ckey == "StringFileInfo":
            tables = {t[0].upper(): t for t in grandchildren}
            if table_name not in tables:
                problems.append(f"no string table {table_name}; tables: {sorted(tables)}")
            else:
                strings = {s[0]: text_of(s[2]) for s in tables[table_name][3]}
        elif ckey == "VarFileInfo":
            for var in grandchildren:
                if var[0] == "Translation":
                    raw = var[2]
                    translations = [struct.unpack_from("<HH", raw, i) for i in range(0, len(raw) - 3, 4)]
    if strings is not None:
        for name, want in expect.strings:
            got = strings.get(name)
            if got != want:
                problems.append(f"string {name} is {got!r}, expected {want!r}")
    if translations is None:
        problems.append("no VarFileInfo Translation value")
    elif (want_lang, want_cp) not in translations:
        listed = ", ".join(f"0x{l:04x}/{c}" for l, c in translations)
        problems.append(f"Translation lists {listed}, expected 0x{want_lang:04x}/{want_cp}")


def read_ico(path):
    """Returns [(width, height, colours, planes, bit count, image bytes)] of an .ico file."""
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ResourceError(f"{path} is not an icon file")
    images = []
    for i in range(count):
        w, h, colours, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        images.append((w, h, colours, planes, bits, data[offset:offset + size]))
    return images


def check_icon(resources, ico_path, problems):
    groups = [(key, data) for key, data in resources.items() if key[0] == RT_GROUP_ICON]
    if len(groups) != 1:
        problems.append(f"expected one RT_GROUP_ICON, found {len(groups)}")
        return
    (_, _, lang), group = groups[0]
    reserved, kind, count = struct.unpack_from("<HHH", group, 0)
    if reserved != 0 or kind != 1 or len(group) != 6 + 14 * count:
        problems.append("RT_GROUP_ICON header is malformed")
        return
    icons = {key[1]: data for key, data in resources.items() if key[0] == RT_ICON and key[2] == lang}
    wanted = read_ico(ico_path)
    if count != len(wanted):
        problems.append(f"icon group has {count} images, {ico_path} has {len(wanted)}")
    for i in range(count):
        w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
        label = f"{w or 256}x{h or 256}"
        if i >= len(wanted):
            problems.append(f"icon group entry {label} has no counterpart in {ico_path}")
            continue
        ww, wh, wcolours, wplanes, wbits, wimage = wanted[i]
        if (w, h, colours, planes, bits) != (ww, wh, wcolours, wplanes, wbits):
            problems.append(f"icon group entry {i} is {label}/{bits} bit, "
                            f"the file's is {ww or 256}x{wh or 256}/{wbits} bit")
        image = icons.get(icon_id)
        if image is None:
            problems.append(f"icon group entry {label} points at missing RT_ICON {icon_id}")
        elif image != wimage or size != len(image):
            problems.append(f"RT_ICON {icon_id} ({label}) differs from the file's image")


def parse_version(text):
    parts = tuple(int(p) for p in text.split("."))
    if len(parts) != 4:
        raise argparse.ArgumentTypeError(f"{text!r} is not a four-part version")
    return parts


def parse_string(text):
    name, sep, value = text.partition("=")
    if not sep:
        raise argparse.ArgumentTypeError(f"{text!r} is not NAME=VALUE")
    return name, value


def parse_translation(text):
    lang, sep, cp = text.partition(":")
    if not sep:
        raise argparse.ArgumentTypeError(f"{text!r} is not LANGUAGE:CODEPAGE")
    return int(lang, 0), int(cp, 0)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("object", help="COFF object made by windres")
    parser.add_argument("--ico", required=True, help="the .ico file the script names")
    parser.add_argument("--translation", type=parse_translation, required=True,
                        help="language and code page, such as 0x0410:1200")
    parser.add_argument("--file-version", type=parse_version, required=True)
    parser.add_argument("--product-version", type=parse_version, required=True)
    parser.add_argument("--string", dest="strings", type=parse_string, action="append", default=[],
                        help="NAME=VALUE that the string table must hold")
    expect = parser.parse_args()

    problems = []
    try:
        with open(expect.object, "rb") as f:
            body, addends = read_rsrc_section(f.read())
        resources = walk_tree(body, addends)
        check_version(resources, expect, problems)
        check_icon(resources, expect.ico, problems)
    except (ResourceError, struct.error, UnicodeDecodeError, OSError) as e:
        problems.append(str(e))

    for p in problems:
        print(f"{expect.object}: {p}")
    if problems:
        return 1
    print(f"{expect.object}: version resource and icon as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main())
