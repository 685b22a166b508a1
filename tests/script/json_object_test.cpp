#include "script/json_object.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "script_eval.h"

namespace {

// The answer of the service's download endpoint, as the resolver reads it.
constexpr char kAnswer[] =
    R"({"zt":1,"info":"sucess","dom":"https:\/\/dl.example.com","url":"?f=1&t=2","inf":"文件.zip","ok":true})";

std::vector<std::string> Elements(const TextArray& array) {
  std::vector<std::string> elements;
  for (size_t i = 0; i < array.size(); ++i) elements.emplace_back(array[i] ? array[i] : "");
  return elements;
}

std::string Qualify(JsonObject& json, const char* path, bool* exists = nullptr) {
  Text text = Text::Copy(path);
  bool notNull = json.QualifyPath(text);
  if (exists) *exists = notNull;
  return std::string(text.view());
}

TEST(JsonObject, ParsedMembersReadAsText) {
  for (bool literal : {false, true}) {
    JsonObject json;
    ASSERT_TRUE(json.Parse(kAnswer, literal));
    // Escaped slashes are the plain characters.
    EXPECT_EQ(json.GetText("dom").view(), "https://dl.example.com");
    EXPECT_EQ(json.GetText("zt").view(), "1");
    EXPECT_EQ(json.GetText("ok").view(), "true");
    EXPECT_EQ(json.GetText("inf").view(), "文件.zip");
    EXPECT_EQ(json.GetText("dom", true).view(), "\"https://dl.example.com\"");
    EXPECT_EQ(json.GetNumber("zt"), 1.0);
    EXPECT_EQ(json.GetNumber("info"), 0.0);
  }
}

TEST(JsonObject, MissingKeysGiveEmptyResults) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(kAnswer));
  EXPECT_TRUE(json.GetText("size").IsNull());
  EXPECT_TRUE(json.GetText("size", true).IsNull());
  EXPECT_TRUE(json.GetText("size.unit").IsNull());
  EXPECT_FALSE(json.Exists("size"));
  EXPECT_TRUE(json.Exists("zt"));
  EXPECT_EQ(json.GetNumber("size"), 0.0);
  EXPECT_EQ(json.GetCount("size"), 0);
}

TEST(JsonObject, TypeCodes) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"s":"x","n":1.5,"b":false,"o":{},"a":[1],"z":null})"));
  EXPECT_EQ(json.TypeOf("s"), 6);
  EXPECT_EQ(json.TypeOf("n"), 2);
  EXPECT_EQ(json.TypeOf("b"), 1);
  EXPECT_EQ(json.TypeOf("o"), 4);
  EXPECT_EQ(json.TypeOf("a"), 5);
  EXPECT_EQ(json.TypeOf("z"), 0);
  EXPECT_EQ(json.TypeOf("missing"), 0);
  EXPECT_EQ(json.TypeOf(""), 4);
  json.SetExpression("d", "new Date(0)");
  EXPECT_EQ(json.TypeOf("d"), -1);
}

TEST(JsonObject, StoredTextsKeepTheirBackslashes) {
  JsonObject json;
  json.SetText("path", "C:\\dir\\new.txt");
  EXPECT_EQ(json.GetText("path").view(), "C:\\dir\\new.txt");
  // Single in JSON output, not escaped.
  EXPECT_EQ(json.ToJson().view(), R"({"path":"C:\dir\new.txt"})");
  EXPECT_EQ(json.PathToJson("path").view(), R"("C:\dir\new.txt")");
  // Backslashes of a parsed document are ordinary characters.
  ASSERT_TRUE(json.Parse(R"({"p":"a\\b"})"));
  EXPECT_EQ(json.GetText("p").view(), "a\\b");
  EXPECT_EQ(json.ToJson().view(), R"({"p":"a\\b"})");
}

TEST(JsonObject, StoredTextsComeBackExactly) {
  JsonObject json;
  const char* texts[] = {"it's \"quoted\"\r\nnext\tline", "\\'\\\"\\\\", "下载链接：中文名称.zip", "", "'"};
  for (const char* text : texts) {
    json.SetText("t", text);
    EXPECT_EQ(json.GetText("t").view(), text);
    json.AddElement("list", text);
    json.SetElement("list", 0, text);
    EXPECT_EQ(json.GetElementText("list", 0).view(), text);
  }
  EXPECT_EQ(json.GetCount("list"), 5);
  TextArray values;
  ASSERT_EQ(json.GetAllValues("list", values), 5);
  EXPECT_EQ(Elements(values), (std::vector<std::string>{texts[4], texts[1], texts[2], "", texts[4]}));
}

TEST(JsonObject, SetTextAsJsonMergesIntoObjectsAndReplacesTheRest) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"o":{"a":1,"in":{"x":1}},"n":5,"s":"x"})"));
  json.SetText("o", R"({"b":2,"in":{"y":2}})", true);
  EXPECT_EQ(json.GetText("o", true).view(), R"({"a":1,"in":{"x":1,"y":2},"b":2})");
  json.SetText("n", "[1,2]", true);
  json.SetText("s", "", true);
  json.SetText("added", "{'k': 'v'}", true);
  EXPECT_EQ(json.PathToJson("n").view(), "[1,2]");
  EXPECT_EQ(json.PathToJson("s").view(), "{}");
  EXPECT_EQ(json.GetText("added.k").view(), "v");
}

TEST(JsonObject, AddElementReplacesANonArray) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"n":5})"));
  json.AddElement("n", "x");
  EXPECT_EQ(json.PathToJson("n").view(), R"(["x"])");
  json.AddElement("n", R"({"k":1})", true);
  json.AddElement("n", "first", false, true);
  EXPECT_EQ(json.PathToJson("n").view(), R"(["first","x",{"k":1}])");
  EXPECT_EQ(json.GetCount("n"), 3);
  EXPECT_EQ(json.GetElementText("n", 0).view(), "first");
  EXPECT_TRUE(json.GetElementText("n", 2).IsNull());  // not a string
  EXPECT_EQ(json.GetElementText("n", 2, true).view(), R"({"k":1})");
  json.SetElement("n", 1, "[true]", true);
  json.RemoveElement("n", 0);
  EXPECT_EQ(json.PathToJson("n").view(), R"([[true],{"k":1}])");
}

TEST(JsonObject, AllValuesInDocumentOrder) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"a":1,"b":{"c":"x","d":[true,2.5,null,[3]]},"e":"中文"})"));
  TextArray values = TextArray::From({});
  EXPECT_EQ(json.GetAllValues("", values, true), 6);
  EXPECT_EQ(Elements(values), (std::vector<std::string>{"1", "x", "true", "2.5", "3", "中文"}));
  EXPECT_EQ(json.GetAllValues("", values), 2);
  EXPECT_EQ(Elements(values), (std::vector<std::string>{"1", "中文"}));
  EXPECT_EQ(json.GetAllValues("b.d", values), 2);
  EXPECT_EQ(Elements(values), (std::vector<std::string>{"true", "2.5"}));
  // Stored backslashes come out as backslashes.
  json.SetText("b.c", "C:\\x");
  EXPECT_EQ(json.GetAllValues("b", values), 1);
  EXPECT_EQ(Elements(values), (std::vector<std::string>{"C:\\x"}));
}

TEST(JsonObject, NamesOfObjectsAndArrays) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"a":1,"名字":{},"c":[5,6]})"));
  TextArray names;
  EXPECT_EQ(json.GetNames("", names), 3);
  EXPECT_EQ(Elements(names), (std::vector<std::string>{"a", "名字", "c"}));
  EXPECT_EQ(json.GetNames("c", names), 2);
  EXPECT_EQ(Elements(names), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(json.GetNames("a", names), 0);
}

TEST(JsonObject, InvalidParseFillsTheErrorRecord) {
  JsonObject json;
  ScriptError error;
  ASSERT_TRUE(json.Parse(kAnswer));
  EXPECT_FALSE(json.Parse("{\"a\":1,\r\n \"b\": x}", false, &error, true));
  EXPECT_EQ(error.number, kScriptSyntaxError);
  EXPECT_EQ(error.source.view(), "JSON");
  EXPECT_EQ(error.description.view(), "names are not values: only true, false and null are allowed");
  EXPECT_EQ(error.text.view(), " \"b\": x}");
  EXPECT_EQ(error.line, 2);
  EXPECT_EQ(error.column, 6);
  // The old document is gone.
  EXPECT_FALSE(json.Exists("zt"));
  EXPECT_EQ(json.ToJson().view(), "null");

  // Without want-error the record is left alone; after success it is clean.
  EXPECT_FALSE(json.Parse("[1,", false, &error, false));
  EXPECT_EQ(error.line, 2);
  EXPECT_FALSE(json.Parse("", true, &error, true));
  EXPECT_EQ(error.line, 1);
  EXPECT_EQ(error.column, 0);
  EXPECT_TRUE(json.Parse("[\"中\"]", true, &error, true));
  EXPECT_EQ(error.number, 0);
  EXPECT_TRUE(error.description.empty());
  EXPECT_TRUE(error.text.empty());
}

TEST(JsonObject, CopiesAreIndependent) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"inf":{"name":"a","list":[{"k":1},"[1]"]}})"));
  JsonObject copy = json.GetObject("inf");
  EXPECT_EQ(copy.GetText("name").view(), "a");
  copy.SetText("name", "b");
  json.SetText("inf.list[0].k", "changed");
  EXPECT_EQ(json.GetText("inf.name").view(), "a");
  EXPECT_EQ(copy.GetText("list[0].k").view(), "1");

  JsonObject element = json.GetElementObject("inf.list", 0);
  EXPECT_EQ(element.ToJson().view(), R"({"k":"changed"})");
  element.Clear();
  EXPECT_EQ(json.GetText("inf.list[0].k").view(), "changed");
  // A string is copied as the string, never run as a document.
  EXPECT_EQ(json.GetElementObject("inf.list", 1).ToJson().view(), R"("[1]")");

  // Stored backslashes survive the copy.
  json.SetText("inf.path", "C:\\new\\x");
  JsonObject withPath = json.GetObject("inf");
  EXPECT_EQ(withPath.GetText("path").view(), "C:\\new\\x");
  EXPECT_EQ(withPath.PathToJson("path").view(), R"("C:\new\x")");
  EXPECT_FALSE(json.GetObject("missing").Exists(""));
}

TEST(JsonObject, ClonesAndScriptObjectsShareTheEngine) {
  JsonObject json;
  JsonObject clone = json.Clone();
  clone.SetText("a", "x");
  EXPECT_EQ(json.GetText("a").view(), "x");
  AutomationObject engine = json.GetScriptObject();
  EXPECT_EQ(EvalIn(engine, "da.a"), "x");
}

TEST(JsonObject, QualifiedPaths) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(R"({"dom":"d","dat":{"x":1},"list":[7]})"));
  struct Case {
    const char* path;
    const char* qualified;
    bool exists;
  } cases[] = {
      {"dom", "da.dom", true},
      {"[0]", "da[0]", false},
      {"", "da", true},
      {"da.dom", "da.dom", true},
      // Beginning with the root's letters is not enough to stay unqualified.
      {"dat.x", "da.dat.x", true},
      {"data", "da.data", false},
      // A missing member written with the root is qualified once more.
      {"da.missing", "da.da.missing", false},
  };
  for (const Case& c : cases) {
    bool exists;
    EXPECT_EQ(Qualify(json, c.path, &exists), c.qualified);
    EXPECT_EQ(exists, c.exists) << c.path;
  }
  EXPECT_EQ(json.GetText("dat.x").view(), "1");
  EXPECT_EQ(json.GetText("list[0]").view(), "7");

  json.rootName = Text::Copy("doc");
  json.Start();
  EXPECT_EQ(Qualify(json, "x"), "doc.x");
  json.SetText("x", "1");
  EXPECT_EQ(json.ToJson().view(), R"({"x":"1"})");
}

TEST(JsonObject, NumbersAreStoredExactly) {
  JsonObject json;
  json.SetNumber("a", 2.5);
  json.SetNumber("b", 3.0);
  json.SetNumber("c", 0.1234567890123);
  json.SetNumber("d", -1e-7);
  json.SetNumber("e", 1e21);
  EXPECT_EQ(json.GetText("a").view(), "2.5");
  EXPECT_EQ(json.GetText("b").view(), "3");
  EXPECT_EQ(json.GetNumber("c"), 0.1234567890123);
  EXPECT_EQ(json.GetNumber("d"), -1e-7);
  EXPECT_EQ(json.GetNumber("e"), 1e21);
  EXPECT_EQ(json.TypeOf("e"), 2);
  json.SetExpression("sum", "1 + 2");
  EXPECT_EQ(json.GetNumber("sum"), 3.0);
}

TEST(JsonObject, DeleteAndClear) {
  JsonObject json;
  ASSERT_TRUE(json.Parse(kAnswer));
  EXPECT_TRUE(json.Delete("zt"));
  EXPECT_FALSE(json.Exists("zt"));
  json.Clear();
  EXPECT_EQ(json.ToJson().view(), "{}");
}

TEST(JsonObject, TextsTooLongForTheEngineNeverReachIt) {
  const std::string pad(kLargestScriptSource, 'x');
  const std::string document = "{\"zt\":1,\"pad\":\"" + pad + "\"}";
  JsonObject json;
  ScriptError error;
  EXPECT_FALSE(json.Parse(document.c_str(), false, &error, true));
  EXPECT_STREQ(error.description.c_str(), "the text is too long for the engine");
  EXPECT_FALSE(json.Exists("zt"));
  ASSERT_TRUE(json.Parse("{\"zt\":1}"));
  EXPECT_FALSE(json.SetText("pad", pad.c_str()));
  EXPECT_FALSE(json.Exists("pad"));
  EXPECT_EQ(json.GetText("zt").view(), "1");  // the engine goes on working
}

}  // namespace
