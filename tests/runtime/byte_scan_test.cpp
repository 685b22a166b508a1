#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/byte_scan.h"
#include "runtime/text.h"

// Both length routines read whole blocks: every alignment and length around
// the block sizes must still stop at the terminator.
TEST(TextLength, EveryAlignmentAndLength) {
  std::string buffer(96, 'x');
  for (size_t offset = 0; offset < 16; ++offset) {
    for (size_t length = 0; length < 48; ++length) {
      std::string copy = buffer;
      copy[offset + length] = '\0';
      const char* text = copy.c_str() + offset;
      ASSERT_EQ(TextLength(text), length) << offset;
      ASSERT_EQ(WordwiseLength(text), length) << offset;
    }
  }
  EXPECT_EQ(TextLength(nullptr), 0u);
  EXPECT_EQ(TextLength("中文"), 4u);
}
