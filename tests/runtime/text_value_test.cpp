#include <gtest/gtest.h>

#include "runtime/bytes.h"
#include "runtime/heap.h"
#include "runtime/text.h"

TEST(TextValue, NullAndEmptyAreDistinct) {
  Text null;
  EXPECT_TRUE(null.IsNull());
  EXPECT_TRUE(null.empty());
  EXPECT_STREQ(null.c_str(), "");
  EXPECT_TRUE(Text::Copy("").IsNull());
  Text empty = Text::Allocate(0);
  EXPECT_FALSE(empty.IsNull());
  EXPECT_TRUE(empty.empty());
}

TEST(TextValue, CopyOwnsItsBytes) {
  Text text = Text::Copy("中文abc");
  EXPECT_EQ(text.size(), 7u);
  EXPECT_EQ(text.view(), "中文abc");
  Text moved = std::move(text);
  EXPECT_TRUE(text.IsNull());
  EXPECT_EQ(moved.view(), "中文abc");
}

TEST(BytesValue, LayoutAndEmptyIsNull) {
  EXPECT_EQ(Bytes::Copy("", 0).block(), nullptr);
  Bytes bytes = Bytes::Copy("ab\0c", 4);
  auto* header = static_cast<const int32_t*>(bytes.block());
  EXPECT_EQ(header[0], 1);
  EXPECT_EQ(header[1], 4);
  EXPECT_EQ(bytes.view(), std::string_view("ab\0c", 4));
}

TEST(RuntimeHeap, FreeIgnoresStaticNullAndLowAddresses) {
  RuntimeFree(nullptr);
  RuntimeFree(const_cast<char*>(EmptyText));
  RuntimeFree(const_cast<char*>("a literal"));
  RuntimeFree(reinterpret_cast<void*>(0x1234));
  void* block = RuntimeAlloc(16);
  EXPECT_EQ(static_cast<unsigned char*>(block)[15], 0);
  block = RuntimeRealloc(block, 64);
  RuntimeFree(block);
}
