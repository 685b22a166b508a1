// Code hidden in texts handed to the JSON object must never run. Each payload
// below either sets the global da2, calls a function, or writes a file
// through an ActiveX object; the first test shows that each one does so in
// an unguarded engine, the others that none does so through the object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "script/json_object.h"
#include "script_eval.h"

namespace {

class CodeInInput : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    marker_ = std::string(folder) + "json_payload_" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(marker_.c_str());
    std::string scriptPath;
    for (char c : marker_) scriptPath += c == '\\' ? "\\\\" : std::string(1, c);
    std::string writeFile = "new ActiveXObject('Scripting.FileSystemObject').CreateTextFile('" + scriptPath + "')";
    payloads_ = {
        "da2 = 1",
        R"({"a": da2 = 1})",
        "[1]; da2 = 1",
        "{\"a\": 1}\r\nda2 = 1",
        "(function () { da2 = 1 })()",
        R"({"a": "x" + (da2 = 1) + ""})",
        R"({"a": eval("da2 = 1")})",
        "'da2 = 1'",
        "\"(function () { da2 = 1 })()\"",
        writeFile,
        R"({"a": )" + writeFile + "}",
        "1), (da2 = 1",
    };
  }
  void TearDown() override { DeleteFileA(marker_.c_str()); }

  bool Ran(AutomationObject& engine) {
    return EvalIn(engine, "typeof da2") != "undefined" ||
           GetFileAttributesA(marker_.c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  bool Ran(JsonObject& json) {
    AutomationObject engine = json.GetScriptObject();
    return Ran(engine);
  }
  // A payload made of one string, which as a plain value is harmless.
  static bool IsString(const std::string& payload) { return payload[0] == '\'' || payload[0] == '"'; }

  std::string marker_;
  std::vector<std::string> payloads_;
};

TEST_F(CodeInInput, PayloadsRunInAnUnguardedEngine) {
  for (const std::string& payload : payloads_) {
    bool ran = false;
    for (const std::string& statement : {"var da = " + payload, "var da = eval(" + payload + ")",
                                         "var da = []; da.push(" + payload + ")"}) {
      BareEngine engine;
      engine.AddCode(statement);
      ran = ran || engine.Eval("typeof da2") != "undefined" ||
            GetFileAttributesA(marker_.c_str()) != INVALID_FILE_ATTRIBUTES;
      DeleteFileA(marker_.c_str());
    }
    EXPECT_TRUE(ran) << payload;
  }
}

TEST_F(CodeInInput, ParseRefusesThemInBothModes) {
  JsonObject json;
  for (const std::string& payload : payloads_) {
    for (bool literal : {false, true}) {
      ScriptError error;
      bool parsed = json.Parse(payload.c_str(), literal, &error, true);
      EXPECT_FALSE(Ran(json)) << payload;
      if (literal && IsString(payload)) {
        // Placed as the value itself, a string stays a string.
        EXPECT_TRUE(parsed) << payload;
        EXPECT_EQ(json.GetText("").view(), payload.substr(1, payload.size() - 2));
      } else {
        EXPECT_FALSE(parsed) << payload;
        EXPECT_EQ(error.source.view(), "JSON") << payload;
        EXPECT_FALSE(error.description.empty()) << payload;
      }
    }
  }
}

TEST_F(CodeInInput, ValuesAsJsonAreRefused) {
  JsonObject json;
  for (const std::string& payload : payloads_) {
    ASSERT_TRUE(json.Parse(R"({"o": {"k": 1}, "s": "old", "list": [0]})"));
    json.SetText("o", payload.c_str(), true);  // merged into an object
    json.SetText("s", payload.c_str(), true);  // through eval()
    json.AddElement("list", payload.c_str(), true);
    json.AddElement("list", payload.c_str(), true, true);
    json.SetElement("list", 0, payload.c_str(), true);
    EXPECT_FALSE(Ran(json)) << payload;
    if (IsString(payload)) {
      // Only eval() would run a string; elsewhere it is stored as a string.
      EXPECT_EQ(json.GetText("s").view(), "old");
      EXPECT_EQ(json.GetText("o").view(), payload.substr(1, payload.size() - 2));
    } else {
      EXPECT_EQ(json.ToJson().view(), R"({"o":{"k":1},"s":"old","list":[0]})") << payload;
    }
  }
}

TEST_F(CodeInInput, TextValuesAreStoredAsWritten) {
  JsonObject json;
  for (const char* text : {"x'); da2 = 1; ('", "x' + (da2 = 1) + '", "\\'; da2 = 1; //", "x\r\nda2 = 1",
                           "x\\\r\nda2 = 1", "'\\u0027+(da2=1)+'"}) {
    json.SetText("s", text);
    json.AddElement("list", text);
    json.AddElement("list", text, false, true);
    json.SetElement("list", 1, text);
    EXPECT_FALSE(Ran(json)) << text;
    EXPECT_EQ(json.GetText("s").view(), text);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(json.GetElementText("list", i).view(), text);
    json.Delete("list");
  }
}

// The conversion that feeds the engine reads 0x80 as a character of its
// own, while the text commands take it with the next byte: an apostrophe
// after it would escape the escaping.
TEST_F(CodeInInput, TextsThatAreNotGbkAreRefused) {
  ASSERT_EQ(GbkToWide("\x80'").size(), 2u);
  JsonObject json;
  json.SetText("s", "old");
  json.AddElement("list", "old");
  for (const char* text : {"\x80'; da2 = 1; //", "\xFF'; da2 = 1; //", "x\x81"}) {
    EXPECT_FALSE(json.SetText("s", text)) << text;
    EXPECT_FALSE(json.AddElement("list", text)) << text;
    EXPECT_FALSE(json.SetElement("list", 0, text)) << text;
    EXPECT_FALSE(Ran(json)) << text;
  }
  EXPECT_EQ(json.ToJson().view(), R"({"s":"old","list":["old"]})");
}

// A second guard: the engine itself refuses to create ActiveX objects.
TEST_F(CodeInInput, TheEngineRunsInTheSafeSubset) {
  JsonObject json;
  AutomationObject engine = json.GetScriptObject();
  bool ran;
  EvalIn(engine, "new ActiveXObject('Scripting.Dictionary')", &ran);
  EXPECT_FALSE(ran);
}

}  // namespace
