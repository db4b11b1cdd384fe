#!/usr/bin/env python3
"""Walks a saved tree file independently of the program: the header, the top-level count,
and every chunk, checking that sizes nest exactly and that each base chunk's child count
equals the node chunks inside it. Prints the node count; exits 1 on any inconsistency."""
import struct
import sys


def fail(msg):
    print(msg)
    sys.exit(1)


def walk_node(data, pos, end):
    if end - pos < 8:
        fail("node header cut at %d" % pos)
    kind, size = struct.unpack_from("<ii", data, pos)
    if kind != 1:
        fail("anchor type %d at %d" % (kind, pos))
    body, stop = pos + 8, pos + 8 + size
    if size < 0 or stop > end:
        fail("node chunk at %d overruns its parent" % pos)
    nodes = 1
    p = body
    while p < stop:
        sub, sub_size = struct.unpack_from("<ii", data, p)
        q, sub_end = p + 8, p + 8 + sub_size
        if sub_size < 0 or sub_end > stop:
            fail("sub-chunk at %d overruns its node" % p)
        if sub == 2:
            (count,) = struct.unpack_from("<I", data, q)
            q += 19
            found = 0
            while q < sub_end:
                n, q = walk_node(data, q, sub_end)
                nodes += n
                found += 1
            if found != count:
                fail("base chunk at %d says %d children, holds %d" % (p, count, found))
        p = sub_end
    if p != stop:
        fail("node chunk at %d ends inside a sub-chunk" % pos)
    return nodes, stop


def main(path):
    data = open(path, "rb").read()
    if len(data) < 16:
        fail("too short")
    words = struct.unpack_from("<6H", data, 0)
    if words[0] != 0x2045 or words[1] != 0x56 or words[2] != 0x54 or words[5] != 0x2046 or words[3] != 2:
        fail("bad header %r" % (words,))
    (count,) = struct.unpack_from("<i", data, 12)
    pos, nodes = 16, 0
    for _ in range(count):
        n, pos = walk_node(data, pos, len(data))
        nodes += n
    print(nodes)


if __name__ == "__main__":
    main(sys.argv[1])
