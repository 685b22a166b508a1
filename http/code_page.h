// Conversions of byte sets between UTF-8, UTF-16LE and the text code page.
// Code page 0 (the system ANSI code page) means the program's text code page,
// GBK, whatever the machine is set to.
#pragma once
#include "runtime/bytes.h"
#include "runtime/codepage.h"
#include "runtime/text.h"

// UTF-8 bytes (up to their first zero byte) to a GBK text; characters GBK
// cannot hold become the default character of code page 936. Converted in
// one pass straight into the text, so a large page costs little more than
// the page and its text.
Text Utf8BytesToText(const Bytes& bytes);
// The same conversion made a slice of at most `sliceBytes` (at least 4) input
// bytes at a time; Utf8BytesToText uses large slices.
Text Utf8ToText(std::string_view utf8, size_t sliceBytes);

// Whether the bytes are well-formed UTF-8 (the platform's decoder finds no
// invalid sequence in them).
bool IsWellFormedUtf8(std::string_view bytes);

// UTF-16LE code units of the bytes up to their first zero byte, terminating
// zero unit included; empty when the input is empty or starts with zero.
Bytes MultiByteToUtf16Bytes(const Bytes& bytes, unsigned codePage);

// UTF-16LE units (up to the first zero unit) in the code page, without terminator.
Bytes Utf16ToMultiByteBytes(const Bytes& bytes, unsigned codePage);

// UTF-16LE units as a text in the code page.
Text Utf16BytesToText(const Bytes& bytes, unsigned codePage = kTextCodePage);
