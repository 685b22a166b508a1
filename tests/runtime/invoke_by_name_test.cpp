// The call core against an object of the tests' own, which records what it
// receives and declares some parameters by reference.
#include <gtest/gtest.h>

#include "runtime/automation_calls.h"
#include "runtime/codepage.h"
#include "runtime/com_scope.h"
#include "runtime/probe_object.h"

namespace {

class InvokeByNameTest : public testing::Test {
 protected:
  void SetUp() override {
    object_ = new ProbeObject(describeType_);
    holder_.iface = object_;
  }
  ProbeCall& last() { return object_->lastCall; }

  ComScope com_;
  bool describeType_ = true;
  ProbeObject* object_ = nullptr;  // owned by holder_
  AutomationObject holder_;
};

class UndescribedObjectTest : public InvokeByNameTest {
 protected:
  UndescribedObjectTest() { describeType_ = false; }
};

using Cells = std::vector<VARTYPE>;

TEST_F(InvokeByNameTest, PacksArgumentsLastFirstAndDropsTrailingAbsentOnes) {
  Bytes bytes = Bytes::Copy("\x01\x02", 2);
  EXPECT_EQ(CallMethodNumber(holder_, "Record", {ArgOf(7), ArgOf("中"), ArgOf(bytes)}), 1.0);
  EXPECT_EQ(last().flags, DISPATCH_METHOD);
  EXPECT_EQ(last().cellTypes, (Cells{VT_ARRAY | VT_UI1, VT_BSTR, VT_I4}));
  EXPECT_TRUE(last().named.empty());

  CallMethod(holder_, "Record", {ArgOf(1), TypedArg::Absent(), TypedArg::Absent(), TypedArg::Absent()});
  EXPECT_EQ(last().cellTypes, (Cells{VT_I4}));
  // An absent argument between given ones is "not given", not dropped.
  CallMethod(holder_, "Record", {ArgOf(1), TypedArg::Absent(), ArgOf(true)});
  EXPECT_EQ(last().cellTypes, (Cells{VT_BOOL, VT_ERROR, VT_I4}));
}

TEST_F(InvokeByNameTest, EveryKindGetsItsCellType) {
  CallMethod(holder_, "Record",
             {TypedArg::Byte(1), TypedArg::Short(2), TypedArg::Long(3), TypedArg::Float(4), TypedArg::Double(5),
              TypedArg::DateTime(6), TypedArg::Routine(7), {0, 0, 0x80000099}});
  EXPECT_EQ(last().cellTypes, (Cells{VT_EMPTY, VT_UI4, VT_DATE, VT_R8, VT_R4, VT_I8, VT_I2, VT_UI1}));
}

TEST_F(InvokeByNameTest, LogicalResultIsTrueOnlyForALogicalTrue) {
  EXPECT_FALSE(CallMethodLogical(holder_, "Record"));  // the member returns the integer 1
  EXPECT_EQ(CallMethodText(holder_, "Record").view(), "1");
}

TEST_F(InvokeByNameTest, PutNamesTheLastArgumentAsTheValue) {
  PutProperty(holder_, "Size", {ArgOf(7)});
  EXPECT_EQ(last().flags, DISPATCH_PROPERTYPUT);
  EXPECT_EQ(last().named, std::vector<DISPID>{DISPID_PROPERTYPUT});
  EXPECT_EQ(object_->size, 7);
  // A method call of a property whose put is declared first reads it.
  EXPECT_EQ(CallMethodNumber(holder_, "Size"), 7.0);
  EXPECT_EQ(last().flags, DISPATCH_PROPERTYGET);
}

TEST_F(InvokeByNameTest, MethodOperationsReadAPlainProperty) {
  EXPECT_EQ(CallMethodText(holder_, "Plain").view(), "plain value");
  EXPECT_EQ(last().flags, DISPATCH_PROPERTYGET);
  EXPECT_EQ(holder_.lastResult, S_OK);
}

TEST_F(InvokeByNameTest, PropertyReadOfAMethodCallsIt) {
  EXPECT_EQ(GetPropertyNumber(holder_, "Record"), 1.0);
  EXPECT_EQ(last().flags, DISPATCH_METHOD | DISPATCH_PROPERTYGET);
  int32_t number = 4;
  GetPropertyNumber(holder_, "Twice", {RefTo(number)});
  EXPECT_EQ(number, 8);
}

TEST_F(UndescribedObjectTest, WithoutTypeInformationTheRequestedKindStays) {
  EXPECT_TRUE(CallMethodText(holder_, "Plain").IsNull());
  EXPECT_EQ(last().flags, DISPATCH_METHOD);
  EXPECT_EQ(holder_.lastResult, DISP_E_MEMBERNOTFOUND);
  // Nothing is declared by reference: a text variable goes by value.
  Text text = Text::Copy("abc");
  CallMethod(holder_, "Echo", {RefTo(text)});
  EXPECT_EQ(last().cellTypes, (Cells{VT_BSTR}));
  EXPECT_EQ(text.view(), "abc");
}

TEST_F(InvokeByNameTest, ObjectIntoByReferencePropertyIsPutByReference) {
  AutomationObject child;
  auto* childObject = new ProbeObject();
  child.iface = childObject;
  PutProperty(holder_, "Child", {ArgOf(child)});
  EXPECT_EQ(last().flags, DISPATCH_PROPERTYPUTREF);
  EXPECT_EQ(last().cellTypes, (Cells{VT_BYREF | VT_DISPATCH}));
  EXPECT_EQ(object_->child, childObject);
  EXPECT_EQ(child.iface, childObject);  // still the holder's own reference
  EXPECT_EQ(childObject->references(), 2u);

  AutomationObject read = GetPropertyObject(holder_, "Child");
  EXPECT_EQ(read.iface, childObject);
  EXPECT_EQ(childObject->references(), 3u);
  // A plain by-value object argument is a dispatch cell.
  CallMethod(holder_, "Record", {ArgOf(child)});
  EXPECT_EQ(last().cellTypes, (Cells{VT_DISPATCH}));
  EXPECT_EQ(childObject->references(), 3u);
}

TEST_F(InvokeByNameTest, ByReferenceVariablesReceiveWhatTheMemberLeft) {
  Text text = Text::Copy("中文");
  CallMethod(holder_, "Echo", {RefTo(text)});
  EXPECT_EQ(last().cellTypes, (Cells{VT_BYREF | VT_BSTR}));
  EXPECT_EQ(last().firstText, L"中文");
  EXPECT_EQ(text.view(), "中文!");
  Text none;
  CallMethod(holder_, "Echo", {RefTo(none)});
  EXPECT_EQ(none.view(), "!");
  // A text given by value is not written back, even to a declared reference.
  CallMethod(holder_, "Echo", {ArgOf(text)});
  EXPECT_EQ(holder_.lastResult, DISP_E_TYPEMISMATCH);
  EXPECT_EQ(text.view(), "中文!");

  bool flag = false;
  CallMethod(holder_, "Toggle", {RefTo(flag)});
  EXPECT_TRUE(flag);
  CallMethod(holder_, "Toggle", {RefTo(flag)});
  EXPECT_FALSE(flag);

  int32_t number = 21;
  CallMethod(holder_, "Twice", {RefTo(number)});
  EXPECT_EQ(number, 42);
}

TEST_F(InvokeByNameTest, ByReferenceObjectTakesTheObjectTheMemberPutThere) {
  AutomationObject target;
  auto* original = new ProbeObject();
  original->AddRef();  // kept to watch its count
  target.iface = original;
  CallMethod(holder_, "Swap", {ArgOf(target)});
  EXPECT_EQ(holder_.lastResult, S_OK);
  EXPECT_NE(target.iface, original);
  EXPECT_FALSE(IsObjectEmpty(target));
  EXPECT_EQ(original->references(), 1u);  // the holder's reference went with the swap
  original->Release();
}

TEST_F(InvokeByNameTest, VariantVariableIsAlwaysPassedByReference) {
  VariantCell cell;
  SetVariant(cell.get(), TypedArg::Int(5));
  CallMethod(holder_, "Record", {RefTo(cell), ArgOf(cell)});
  EXPECT_EQ(last().cellTypes, (Cells{VT_I4, VT_BYREF | VT_VARIANT}));
}

TEST_F(InvokeByNameTest, VariantsAndByteSetsGoInAndComeOut) {
  Bytes bytes = Bytes::Copy(std::string_view("\x00\xff\x7f", 3));
  PutProperty(holder_, "Store", {ArgOf(bytes)});
  VariantCell stored = GetPropertyVariant(holder_, "Store");
  EXPECT_EQ(stored.type(), VT_ARRAY | VT_UI1);
  EXPECT_EQ(VariantToBytes(stored.get()).view(), bytes.view());

  PutProperty(holder_, "Store", {ArgOf(stored)});  // a variant argument is a copy
  EXPECT_EQ(VariantToBytes(GetPropertyVariant(holder_, "Store").get()).view(), bytes.view());
  PutProperty(holder_, "Store", {ArgOf("汉字")});
  EXPECT_EQ(GetPropertyText(holder_, "Store").view(), "汉字");
  EXPECT_EQ(GetPropertyNumber(holder_, "Store"), 0.0);
  PutProperty(holder_, "Store", {ArgOf(2.5)});
  EXPECT_EQ(GetPropertyNumber(holder_, "Store"), 2.5);
  PutProperty(holder_, "Store", {ArgOf(true)});
  EXPECT_EQ(GetPropertyNumber(holder_, "Store"), -1.0);
  PutProperty(holder_, "Store", {TypedArg::Long(1LL << 40)});
  EXPECT_EQ(GetPropertyNumber(holder_, "Store"), static_cast<double>(1LL << 40));
}

TEST_F(InvokeByNameTest, FailuresGiveEmptyResultsAndTheCode) {
  EXPECT_TRUE(GetPropertyText(holder_, "NoSuchMember").IsNull());
  EXPECT_EQ(holder_.lastResult, DISP_E_UNKNOWNNAME);
  EXPECT_TRUE(CallMethodText(holder_, "Echo").IsNull());  // Echo wants an argument
  EXPECT_EQ(holder_.lastResult, DISP_E_TYPEMISMATCH);
  EXPECT_TRUE(IsObjectEmpty(CallMethodObject(holder_, "Record")));  // an integer is no object
  EXPECT_EQ(holder_.lastResult, S_OK);

  AutomationObject empty;
  EXPECT_TRUE(GetPropertyText(empty, "Plain").IsNull());
  EXPECT_EQ(empty.lastResult, E_POINTER);
  EXPECT_EQ(GetPropertyNumber(empty, "Size"), 0.0);
  EXPECT_FALSE(CallMethodLogical(empty, "Record"));
  AutomationObject none = GetPropertyObject(empty, "Child");
  EXPECT_TRUE(IsObjectEmpty(none));
  EXPECT_EQ(empty.lastResult, E_POINTER);
  EXPECT_EQ(GetPropertyVariant(empty, "Store").type(), VT_EMPTY);
}

TEST_F(InvokeByNameTest, HoldersShareAndReleaseTheirObject) {
  object_->AddRef();  // kept to watch its count
  {
    AutomationObject second;
    AssignObject(second, holder_);
    EXPECT_EQ(second.iface, holder_.iface);
    EXPECT_EQ(object_->references(), 3u);
    AssignObject(second, second);
    EXPECT_EQ(object_->references(), 3u);
    AutomationObject moved = std::move(second);
    EXPECT_TRUE(IsObjectEmpty(second));
    EXPECT_EQ(object_->references(), 3u);
  }
  EXPECT_EQ(object_->references(), 2u);
  holder_.lastResult = E_FAIL;
  ReleaseObject(holder_);
  EXPECT_TRUE(IsObjectEmpty(holder_));
  EXPECT_EQ(holder_.lastResult, S_OK);
  EXPECT_EQ(object_->references(), 1u);
  object_->Release();
}

TEST_F(InvokeByNameTest, CreatesByBracedClassId) {
  RegisterProbeClass registration;
  AutomationObject created;
  ASSERT_TRUE(CreateObject(created, WideToGbk(kProbeClassIdText).c_str()));
  EXPECT_EQ(CallMethodText(created, "Plain").view(), "plain value");
}

}  // namespace
