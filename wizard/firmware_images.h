#pragma once
// The two firmware images the wizard sends to the device, built into the
// program from resources/firmware_a.hex and firmware_b.hex. Each image is a
// run of 55-byte rows, one upper-case Intel HEX record per row padded with
// NUL bytes, ended by a row that is NUL throughout.

// Both images, one after the other: A's rows, a NUL row, B's rows, a NUL row.
extern const char FirmwareRows[][55];

// First row of the image for hardware variants 1 to 3.
extern const char (*const FirmwareImageA)[55];
// First row of the image for hardware variant 4.
extern const char (*const FirmwareImageB)[55];
