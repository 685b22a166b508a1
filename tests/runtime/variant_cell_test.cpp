#include <gtest/gtest.h>

#include "runtime/array.h"
#include "runtime/automation_calls.h"
#include "runtime/com_scope.h"
#include "runtime/probe_object.h"

namespace {

TEST(VariantCell, TextOfScalarCells) {
  VariantCell cell;
  V_VT(&cell.get()) = VT_BOOL;
  V_BOOL(&cell.get()) = VARIANT_TRUE;
  EXPECT_EQ(VariantToText(cell.get()).view(), "真");
  V_BOOL(&cell.get()) = VARIANT_FALSE;
  EXPECT_EQ(VariantToText(cell.get()).view(), "假");
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::Int(-42)));
  EXPECT_EQ(cell.type(), VT_I4);
  EXPECT_EQ(VariantToText(cell.get()).view(), "-42");
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::OfText("中文")));
  EXPECT_EQ(VariantToText(cell.get()).view(), "中文");
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::OfText(EmptyText)));
  Text empty = VariantToText(cell.get());
  EXPECT_FALSE(empty.IsNull());
  EXPECT_TRUE(empty.empty());
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::Absent()));
  EXPECT_EQ(cell.type(), VT_EMPTY);
  V_VT(&cell.get()) = VT_NULL;
  EXPECT_TRUE(VariantToText(cell.get()).IsNull());
}

TEST(VariantCell, ArraysFromRuntimeArraysAndTheirElements) {
  TextArray texts = TextArray::From([] {
    std::vector<Text> items;
    items.push_back(Text::Copy("一"));
    items.push_back(Text());
    items.push_back(Text::Copy("three"));
    return items;
  }());
  VariantCell cell;
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::Reference(ValueType::Text, const_cast<void*>(texts.block()))));
  EXPECT_EQ(cell.type(), VT_ARRAY | VT_BSTR);
  EXPECT_EQ(VariantToText(cell.get()).view(), "一");
  EXPECT_EQ(VariantToText(cell.get(), 0).view(), "一");
  EXPECT_EQ(VariantToText(cell.get(), 3).view(), "three");
  EXPECT_TRUE(VariantToText(cell.get(), 4).IsNull());

  // Storing into an element changes the value to the element type.
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::Double(2.5), 2));
  EXPECT_EQ(VariantToText(cell.get(), 2).view(), "2.5");
  EXPECT_FALSE(SetVariant(cell.get(), TypedArg::Int(1), 4));

  int32_t numbers[] = {1, 3, 2, 7, 9};  // a one-dimensional int array block of 3
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::Reference(ValueType::Int, numbers)));
  EXPECT_EQ(cell.type(), VT_ARRAY | VT_I4);
  EXPECT_EQ(VariantToText(cell.get(), 2).view(), "7");
  EXPECT_FALSE(SetVariant(cell.get(), TypedArg::OfText("x"), 1));  // no number
  EXPECT_TRUE(SetVariant(cell.get(), TypedArg::OfText("9"), 1));
  EXPECT_EQ(VariantToText(cell.get(), 1).view(), "9");

  int32_t logicals[] = {1, 2, 0, 5};
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::Reference(ValueType::Logical, logicals)));
  EXPECT_EQ(VariantToText(cell.get(), 1).view(), "假");
  EXPECT_EQ(VariantToText(cell.get(), 2).view(), "真");

  int32_t none[] = {1, 0};
  EXPECT_FALSE(SetVariant(cell.get(), TypedArg::Reference(ValueType::Int, none)));
  EXPECT_EQ(cell.type(), VT_EMPTY);
  EXPECT_FALSE(SetVariant(cell.get(), TypedArg::Reference(ValueType::Object, numbers)));
}

TEST(VariantCell, VariantArrayElementsAndBytes) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
  VariantCell cell;
  V_VT(&cell.get()) = VT_ARRAY | VT_VARIANT;
  V_ARRAY(&cell.get()) = array;
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::OfText("甲"), 1));
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::Logical(true), 2));
  EXPECT_EQ(VariantToText(cell.get(), 1).view(), "甲");
  EXPECT_EQ(VariantToText(cell.get(), 2).view(), "真");
  EXPECT_TRUE(VariantToBytes(cell.get(), 3).empty());

  Bytes bytes = Bytes::Copy("\x01\x00\x02", 3);
  ASSERT_TRUE(SetVariant(cell.get(), TypedArg::OfBytes(bytes.block())));
  EXPECT_EQ(cell.type(), VT_ARRAY | VT_UI1);
  EXPECT_EQ(VariantToBytes(cell.get()).view(), bytes.view());
  EXPECT_EQ(VariantToText(cell.get(), 3).view(), "2");
  EXPECT_FALSE(SetVariant(cell.get(), TypedArg::OfBytes(nullptr)));
}

TEST(VariantCell, CopyClearAndObjects) {
  ComScope com;
  auto* object = new ProbeObject();
  AutomationObject holder;
  holder.iface = object;
  VariantCell first, second;
  ASSERT_TRUE(SetVariant(first.get(), TypedArg{reinterpret_cast<UINT_PTR>(&holder), 0, ValueType::Object}));
  EXPECT_EQ(first.type(), VT_UNKNOWN);
  EXPECT_EQ(object->references(), 2u);
  CopyVariant(second.get(), &first.get());
  EXPECT_EQ(object->references(), 3u);
  CopyVariant(second.get(), nullptr);
  EXPECT_EQ(second.type(), VT_EMPTY);
  EXPECT_EQ(object->references(), 2u);
  ClearVariant(first.get());
  EXPECT_EQ(first.type(), VT_EMPTY);
  EXPECT_EQ(object->references(), 1u);
  // A cell given as a value is copied into the target.
  ASSERT_TRUE(SetVariant(second.get(), TypedArg::OfText("x")));
  ASSERT_TRUE(SetVariant(first.get(), ArgOf(second)));
  EXPECT_EQ(VariantToText(first.get()).view(), "x");
}

}  // namespace
