#include "http/base64.h"

namespace {
constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
}

Text Base64Encode(const Bytes& bytes) {
  const size_t size = bytes.size();
  if (size == 0) return Text();
  const uint8_t* in = bytes.data();
  Text text = Text::Allocate((size + 2) / 3 * 4);
  char* out = text.data();
  for (size_t i = 0; i < size; i += 3) {
    const size_t left = size - i;
    const uint32_t group = in[i] << 16 | (left > 1 ? in[i + 1] << 8 : 0) | (left > 2 ? in[i + 2] : 0);
    *out++ = kAlphabet[group >> 18 & 63];
    *out++ = kAlphabet[group >> 12 & 63];
    *out++ = left > 1 ? kAlphabet[group >> 6 & 63] : '=';
    *out++ = left > 2 ? kAlphabet[group & 63] : '=';
  }
  return text;
}
