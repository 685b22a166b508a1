// The program's icon file, held in the program's data: a byte-set block
// (dimension count 1, 32-bit length 22,486, then an ICO file with 48, 32 and
// 16 pixel images at 8 and then at 32 bits per pixel). The same file is icon
// group 129 of zorvo-link.exe. Both are generated at build time by
// tools/make_icon.py. The block is static: releasing it does nothing.
#pragma once

extern const void* const AppIconFile;
