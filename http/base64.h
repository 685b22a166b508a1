// Base64 (standard alphabet, "=" padding, no line breaks), used for proxy
// authorisation headers.
#pragma once
#include "runtime/bytes.h"
#include "runtime/text.h"

// Null for an empty byte set.
Text Base64Encode(const Bytes& bytes);
