// Character stepping and matching shared by the search commands. A byte with
// the high bit set begins a two-byte character; matches start only at
// character starts, never on the second byte of a pair.
#pragma once
#include <cstddef>
#include <optional>
#include <string_view>

inline bool IsLeadByte(char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; }
inline size_t CharacterSize(char c) { return IsLeadByte(c) ? 2 : 1; }
// ASCII lower-casing; every other byte maps to itself.
inline unsigned char FoldCase(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

// Whether offset `at` is a character start, given that `known` (<= at) is.
bool IsCharacterStart(std::string_view text, size_t known, size_t at);
// The first character start at or after `count` bytes, stepping over
// two-byte characters as units; at most the text's size.
size_t SkipCharacters(std::string_view text, size_t count);
// Where a search from the 1-based start position begins: the beginning when
// it is absent or below 2, else SkipCharacters(start - 1).
size_t SearchOffset(std::string_view text, std::optional<int> start);
// Whether `pattern` matches the bytes at `at` (which hold at least as many).
// Without case, ASCII letters of single-byte characters match either case.
bool MatchesAt(const char* at, std::string_view pattern, bool ignoreCase);
// Offset of the first match at a character start at or after `from` (itself
// a character start); npos when there is none. The pattern is not empty.
size_t FindAtCharacterStart(std::string_view text, size_t from, std::string_view pattern, bool ignoreCase);
