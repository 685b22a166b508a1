// Commands on byte sets and raw memory. Byte-set arguments are raw byte-set
// blocks (null is the empty set); positions are 1-based.
#pragma once
#include <optional>

#include "runtime/bytes.h"
#include "runtime/text.h"
#include "runtime/typed_arg.h"

int BytesLength(const void* bytes);
// n zero bytes; null for n <= 0.
Bytes ZeroBytes(int n);
// A copy of n bytes at the address; null for a null address or n <= 0.
Bytes BytesFromMemory(const void* address, int n);
// n bytes from `start` (below 1 taken as 1, n cut at the end); null for an
// empty set, n <= 0 or a start beyond the data.
Bytes MidBytes(const void* bytes, int start, int n);

// Kind numbers of ReadValueFromBytes: 1 byte, 2 short, 3 int, 4 long, 5 float,
// 6 double, 7 logical, 8 date-time, 9 routine address, 10 text.
struct ReadValue {
  TypedArg value;  // of the kind read; a text points into `text`
  Text text;       // owns a text read
};
// Reads a value of the kind at the start, at a 1-based position, or at the
// position held by a variable, which is then advanced past the value (-1 once
// it lies beyond the data). Outside the data the value is zero (a null text)
// and the variable becomes -1. A kind outside 1-10 is runtime error 100.
ReadValue ReadValueFromBytes(const void* bytes, int kind);
ReadValue ReadValueFromBytes(const void* bytes, int kind, int position);
ReadValue ReadValueFromBytes(const void* bytes, int kind, int* positionVariable);

// Copies the value's bytes to the address: a text with its terminator, a byte
// set's data, a scalar's own size, a byte array's elements; at most maxLength
// bytes when given. Null or empty texts and byte sets copy nothing.
void WriteValueToMemory(const TypedArg& value, void* address, std::optional<int> maxLength = std::nullopt);

// When the array held by the variable lies in static data, moves a copy of it
// (header and elements of `elementSize` bytes) into the heap.
void MakeArrayWritable(int elementSize, void** arrayVariable);
