"""Damage to the board's flash image between two boots: finds the JFFS2 node
that holds a file's current data and flips a byte in it or cuts it short (its
tail left erased, as a write stopped half-way leaves it). The image is the
raw partition the board mounts with block2mtd; it must not be in use.

Only the current data node of the named file is touched, never a directory
entry or another file's node: the damage is one the store can see (its file
reads short, empty or wrong) and must answer by using its last good copy.

Usage as a tool: flash_image.py IMAGE list | flip NAME SEED | cut NAME SEED
"""
import random
import struct
import sys
import zlib

MAGIC = 0x1985
ACCURATE = 0x2000  # cleared on flash when a node is made obsolete
DIRENT = 0xE001
INODE = 0xE002
HEADER = struct.Struct("<HHII")  # magic, node type, total length, header CRC
DIRENT_FIELDS = struct.Struct("<IIIIBBxxII")  # pino, version, ino, mctime, nsize, type, CRCs
INODE_FIELDS = struct.Struct("<IIIHHIIIIIIIBBHII")  # ino, version, ..., csize, dsize, ...
INODE_HEADER_SIZE = HEADER.size + INODE_FIELDS.size


def jffs2_crc(data):
    """JFFS2's CRC32: the zlib polynomial, seeded with 0, not inverted."""
    return zlib.crc32(data, 0xFFFFFFFF) ^ 0xFFFFFFFF


def nodes(image):
    """(offset, node type, total length) of every node whose header checks out
    (an obsolete node's CRC is that of its type before the flag was cleared)."""
    offset = 0
    while offset + HEADER.size <= len(image):
        magic, node_type, length, crc = HEADER.unpack_from(image, offset)
        if (magic == MAGIC and length >= HEADER.size and offset + length <= len(image)
                and crc == jffs2_crc(HEADER.pack(magic, node_type | ACCURATE, length, 0)[:8])):
            yield offset, node_type, length
            offset += (length + 3) & ~3
        else:
            offset += 4


def current_inode(image, name):
    """The inode number the newest live directory entry called name points to; 0 if none."""
    newest = (-1, 0)
    for offset, node_type, _ in nodes(image):
        if node_type != DIRENT:
            continue
        _, version, ino, _, nsize, _, _, _ = DIRENT_FIELDS.unpack_from(image, offset + HEADER.size)
        start = offset + HEADER.size + DIRENT_FIELDS.size
        if image[start:start + nsize] == name.encode() and version > newest[0]:
            newest = (version, ino)
    return newest[1]


def data_node(image, name):
    """(start, end) of the data of the newest live data node of file name, or None."""
    ino = current_inode(image, name)
    if ino == 0:
        return None
    newest = None
    for offset, node_type, _ in nodes(image):
        if node_type != INODE:
            continue
        fields = INODE_FIELDS.unpack_from(image, offset + HEADER.size)
        node_ino, version, csize, dsize = fields[0], fields[1], fields[10], fields[11]
        if node_ino == ino and dsize > 0 and csize > 0 and (newest is None or version > newest[0]):
            newest = (version, offset + INODE_HEADER_SIZE, offset + INODE_HEADER_SIZE + csize)
    return newest[1:] if newest else None


def damage(path, name, how, rng):
    """Flips a byte in ("flip") or erases the tail of ("cut") file name's
    current data node in the image at path; a description, or None when the
    image holds no data for that file."""
    with open(path, "r+b") as flash:
        image = bytearray(flash.read())
        found = data_node(image, name)
        if found is None:
            return None
        start, end = found
        if how == "flip":
            at = rng.randrange(start, end)
            image[at] ^= 1 << rng.randrange(8)
            flash.seek(at)
            flash.write(image[at:at + 1])
            return "a byte flipped in %s's data node at flash offset %#x" % (name, at)
        at = rng.randrange(start, end)
        flash.seek(at)
        flash.write(b"\xff" * (end - at))
        return "%s's data node cut at flash offset %#x (%d of %d bytes erased)" % (
            name, at, end - at, end - start)


def main(argv):
    if len(argv) == 3 and argv[2] == "list":
        with open(argv[1], "rb") as flash:
            image = flash.read()
        for offset, node_type, length in nodes(image):
            live = "live" if node_type & ACCURATE else "obsolete"
            print("%#08x type %#06x length %5d %s" % (offset, node_type, length, live))
        return 0
    if len(argv) == 5 and argv[2] in ("flip", "cut"):
        what = damage(argv[1], argv[3], argv[2], random.Random(int(argv[4])))
        print(what or "no data node of %s in %s" % (argv[3], argv[1]))
        return 0 if what else 1
    print(__doc__.strip().splitlines()[-1], file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
