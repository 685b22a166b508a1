#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ui/core/property_map.h"

TEST(PropertyMap, TheNinthKeyRebuildsTo23BucketsAndNewKeysGoToTheHeadOfTheirChain) {
  PropertyMap map(MapKind::Text, MapKind::Integer);
  const char* keys[] = {"hWnd", "oldWndProp", "OnClick", "Type", "Name", "zyStyle", "hFont", "Border", "OnTimer"};
  for (int i = 0; i < 8; ++i) EXPECT_FALSE(map.Set(keys[i], i + 100));
  EXPECT_EQ(map.BucketCount(), 11u);
  EXPECT_EQ(map.Threshold(), 8u);
  map.Set(keys[8], 108);
  EXPECT_EQ(map.BucketCount(), 23u);
  EXPECT_EQ(map.Threshold(), 17u);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(map.Get(keys[i]), i + 100) << keys[i];
  EXPECT_EQ(map.Keys().size(), 9u);
  // Replacing an existing key never grows the table.
  EXPECT_TRUE(map.Set("hWnd", 7));
  EXPECT_EQ(map.Keys().size(), 9u);

  PropertyMap chain(MapKind::Text, MapKind::Integer);
  chain.Set("a", 1);  // 97 and 108 share bucket 9 of 11
  chain.Set("l", 2);
  EXPECT_EQ(chain.Keys(), (std::vector<std::string_view>{"l", "a"}));
  EXPECT_TRUE(chain.Remove("l"));
  EXPECT_FALSE(chain.Remove("l"));
  EXPECT_EQ(chain.Get("a"), 1);
}

TEST(PropertyMap, EachKeyKindDecidesWhichKeysAreTheSame) {
  const uint32_t counted1[] = {3, 0x00636261}, counted2[] = {3, 0xFF636261};  // "abc" with different padding
  struct Row {
    MapKind kind;
    MapItem stored, probe;
    bool same;
  } rows[] = {
      {MapKind::Text, "OnClick", "OnClick", true},
      {MapKind::Text, "OnClick", "onclick", false},
      {MapKind::WideText, L"OnClick", L"ONCLICK", true},
      {MapKind::WideText, L"按钮", L"按钮", true},
      {MapKind::Integer, 0x10002, 0x10002, true},
      {MapKind::Integer, 0x10002, 0x20001, false},
      {MapKind::Block, MapItem::Block({"a\0b", 3}), MapItem::Block({"a\0b", 3}), true},
      {MapKind::Block, MapItem::Block({"a\0b", 3}), MapItem::Block({"a\0c", 3}), false},
      {MapKind::CountedBlock, MapItem::Counted(counted1), MapItem::Counted(counted2), true},
  };
  for (const Row& row : rows) {
    PropertyMap map(row.kind, MapKind::Integer);
    map.Set(row.stored, 5);
    EXPECT_EQ(map.Has(row.probe), row.same) << static_cast<int>(row.kind) << " " << row.stored.bytes();
  }
}

TEST(PropertyMap, CopyingValueKindsKeepTheirOwnCopy) {
  char text[] = "天空";
  PropertyMap texts(MapKind::Text, MapKind::Text);
  texts.Set("k", text);
  std::strcpy(text, "xx");
  EXPECT_STREQ(reinterpret_cast<const char*>(texts.Get("k")), "天空");

  PropertyMap wide(MapKind::Text, MapKind::WideText);
  wide.Set("k", L"ab");
  EXPECT_STREQ(reinterpret_cast<const wchar_t*>(wide.Get("k")), L"ab");

  const uint32_t block[] = {2, 0x4241};
  PropertyMap counted(MapKind::Text, MapKind::CountedBlock);
  counted.Set("k", MapItem::Counted(block));
  EXPECT_EQ(std::memcmp(reinterpret_cast<const void*>(counted.Get("k")), block, 6), 0);
}
