// The bridge against the platform's own automation components.
#include <gtest/gtest.h>

#include <string>

#include "runtime/automation_calls.h"
#include "runtime/codepage.h"
#include "runtime/com_scope.h"

namespace {

class AutomationComponentsTest : public testing::Test {
 protected:
  ComScope com_;
};

TEST_F(AutomationComponentsTest, RegExpPropertiesAndMethodsByName) {
  AutomationObject regex;
  ASSERT_TRUE(CreateObject(regex, "VBScript.RegExp"));
  PutProperty(regex, "Pattern", {ArgOf("(\\d+)个")});
  EXPECT_EQ(regex.lastResult, S_OK);
  EXPECT_EQ(GetPropertyText(regex, "Pattern").view(), "(\\d+)个");
  PutProperty(regex, "Global", {ArgOf(true)});
  EXPECT_TRUE(CallMethodLogical(regex, "Test", {ArgOf("共12个")}));
  EXPECT_FALSE(CallMethodLogical(regex, "Test", {ArgOf("none")}));

  AutomationObject matches = CallMethodObject(regex, "Execute", {ArgOf("1个 和 22个")});
  ASSERT_FALSE(IsObjectEmpty(matches));
  EXPECT_EQ(GetPropertyNumber(matches, "Count"), 2.0);
  AutomationObject second = GetPropertyObject(matches, "Item", {ArgOf(1.0)});
  EXPECT_EQ(GetPropertyText(second, "Value").view(), "22个");
  EXPECT_EQ(GetPropertyNumber(second, "FirstIndex"), 5.0);  // counted in UTF-16 units

  // A string property holding digits is no number.
  PutProperty(regex, "Pattern", {ArgOf("123")});
  EXPECT_EQ(GetPropertyNumber(regex, "Pattern"), 0.0);
  // A property read through the method operations.
  EXPECT_EQ(CallMethodText(regex, "Pattern").view(), "123");
  EXPECT_EQ(regex.lastResult, S_OK);
  // A method read through the property operations.
  EXPECT_EQ(GetPropertyText(regex, "Replace", {ArgOf("a123b"), ArgOf("-")}).view(), "a-b");
  EXPECT_EQ(regex.lastResult, S_OK);
}

TEST_F(AutomationComponentsTest, CreateObjectFailsCleanly) {
  AutomationObject holder;
  EXPECT_FALSE(CreateObject(holder, "No.Such.Component"));
  EXPECT_TRUE(IsObjectEmpty(holder));
  EXPECT_TRUE(FAILED(holder.lastResult));
  EXPECT_FALSE(CreateObject(holder, nullptr));
  EXPECT_EQ(holder.lastResult, S_OK);
  // A second create replaces the first object.
  ASSERT_TRUE(CreateObject(holder, "VBScript.RegExp"));
  ASSERT_TRUE(CreateObject(holder, "VBScript.RegExp"));
  EXPECT_FALSE(CreateObject(holder, "{00000000-0000-0000-0000-00000000BAD0}"));
  EXPECT_TRUE(IsObjectEmpty(holder));
}

TEST_F(AutomationComponentsTest, CreatesByBracedClassIdOfAComponent) {
  CLSID classId;
  ASSERT_EQ(CLSIDFromProgID(L"VBScript.RegExp", &classId), S_OK);
  wchar_t text[40];
  StringFromGUID2(classId, text, 40);
  AutomationObject regex;
  ASSERT_TRUE(CreateObject(regex, WideToGbk(text).c_str()));
  PutProperty(regex, "Pattern", {ArgOf("x")});
  EXPECT_TRUE(CallMethodLogical(regex, "Test", {ArgOf("axb")}));
}

TEST_F(AutomationComponentsTest, DictionaryByNameAndFromItsTypeLibrary) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  std::string library = WideToGbk(std::wstring(system) + L"\\scrrun.dll");
  AutomationObject dictionary;
  ASSERT_TRUE(CreateObject(dictionary, "Dictionary", library.c_str()));
  CallMethod(dictionary, "Add", {ArgOf("键"), ArgOf("值")});
  CallMethod(dictionary, "Add", {ArgOf("n"), ArgOf(3)});
  EXPECT_EQ(dictionary.lastResult, S_OK);
  EXPECT_EQ(GetPropertyNumber(dictionary, "Count"), 2.0);
  EXPECT_EQ(GetPropertyText(dictionary, "Item", {ArgOf("键")}).view(), "值");
  EXPECT_EQ(GetPropertyNumber(dictionary, "Item", {ArgOf("n")}), 3.0);
  EXPECT_TRUE(CallMethodLogical(dictionary, "Exists", {ArgOf("n")}));
  // A put with an index: the key stays positional, the value is named.
  PutProperty(dictionary, "Item", {ArgOf("n"), ArgOf("三")});
  EXPECT_EQ(GetPropertyText(dictionary, "Item", {ArgOf("n")}).view(), "三");

  AutomationObject byName;
  ASSERT_TRUE(CreateObject(byName, "Scripting.Dictionary"));
  EXPECT_EQ(GetPropertyNumber(byName, "Count"), 0.0);
}

TEST_F(AutomationComponentsTest, ScriptControlEvaluates) {
  AutomationObject engine;
  ASSERT_TRUE(CreateObject(engine, "MSScriptControl.ScriptControl"));
  PutProperty(engine, "Language", {ArgOf("JavaScript")});
  EXPECT_EQ(CallMethodNumber(engine, "Eval", {ArgOf("1 + 2")}), 3.0);
  EXPECT_EQ(CallMethodText(engine, "Eval", {ArgOf("'中' + '文'")}).view(), "中文");
  EXPECT_TRUE(CallMethodLogical(engine, "Eval", {ArgOf("1 == 1")}));
  EXPECT_FALSE(CallMethodLogical(engine, "Eval", {ArgOf("1")}));
  EXPECT_EQ(CallMethodNumber(engine, "Eval", {ArgOf("'12'")}), 0.0);
  EXPECT_TRUE(CallMethodText(engine, "Eval", {ArgOf("(")}).IsNull());
  EXPECT_TRUE(FAILED(engine.lastResult));
}

}  // namespace
