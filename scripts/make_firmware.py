#!/usr/bin/env python3
"""Writes the two firmware images the wizard carries, as Intel HEX files.

The images are stand-ins of our own with the shapes the wizard and the
device's loader expect: program words in three ranges, the same sixteen
EEPROM records in both, and an end record. The content is pseudo-random
from a fixed seed, so running this again gives byte-identical files.

Usage: scripts/make_firmware.py [output directory]   (default: resources/)
"""

import pathlib
import random
import sys

SEED = 0x4B5390
MAX_WORDS = 8  # 16 data bytes per record
DATA_MEMORY_WORD = 8448  # word address of EEPROM byte 0
DATA_FIRST, DATA_LAST = 135, 254  # clear of the serial number (120-123) and version (126-127)
DATA_RECORD_WORDS = [8] * 8 + [7] * 8

# Per image: the word address ranges of program memory (inclusive) and how
# many program records cover them.
IMAGES = {
    "firmware_a.hex": {"ranges": [(48, 1931), (2048, 2460), (6144, 6266)], "records": 308},
    "firmware_b.hex": {"ranges": [(48, 1814), (2048, 2481), (6144, 6316)], "records": 303},
}


def record(load_address, record_type, data):
    body = bytes([len(data), load_address >> 8, load_address & 0xFF, record_type]) + bytes(data)
    checksum = (-sum(body)) & 0xFF
    return ":" + (body + bytes([checksum])).hex().upper()


def words_to_bytes(words):
    out = []
    for word in words:
        out += [word & 0xFF, word >> 8]
    return out


def program_chunks(ranges, record_count, rng):
    """(first word, word count) pairs: full records, split where needed."""
    chunks = []
    for first, last in ranges:
        for start in range(first, last + 1, MAX_WORDS):
            chunks.append((start, min(MAX_WORDS, last + 1 - start)))
    extra = record_count - len(chunks)
    if extra < 0:
        raise SystemExit("too few records for the ranges")
    full = [i for i, (_, count) in enumerate(chunks) if count == MAX_WORDS]
    for i in sorted(rng.sample(full, extra), reverse=True):
        start, count = chunks[i]
        half = rng.randint(1, count - 1)
        chunks[i : i + 1] = [(start, half), (start + half, count - half)]
    return chunks


def data_records(rng):
    rows, address = [], DATA_FIRST
    for count in DATA_RECORD_WORDS:
        values = [rng.randrange(256) for _ in range(count)]
        rows.append(record(2 * (DATA_MEMORY_WORD + address), 0, words_to_bytes(values)))
        address += count
    assert address == DATA_LAST + 1
    return rows


def main():
    out_dir = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "resources")
    rng = random.Random(SEED)
    eeprom = data_records(rng)
    for name, shape in IMAGES.items():
        rows = []
        for start, count in program_chunks(shape["ranges"], shape["records"], rng):
            words = [rng.randrange(0x4000) for _ in range(count)]
            rows.append(record(2 * start, 0, words_to_bytes(words)))
        rows += eeprom
        rows.append(record(0, 1, []))
        (out_dir / name).write_text("\n".join(rows) + "\n", encoding="ascii", newline="\n")


if __name__ == "__main__":
    main()
