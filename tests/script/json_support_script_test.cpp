// Runs the support script in the platform's script control (the engine the
// JSON object uses) through the test-only driver.
#include <gtest/gtest.h>

#include <string>

#include "runtime/codepage.h"
#include "script/json_literal_check.h"
#include "script/json_support_script.h"
#include "script/script_control_driver.h"

namespace {

class SupportScript : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(engine_.created());
    ASSERT_TRUE(engine_.PutText(L"Language", L"JavaScript").ok);
    ASSERT_TRUE(engine_.AddCode(GbkToWide(kJsonSupportScript)).ok);
  }

  // The value of a JavaScript expression as text; fails the test when the
  // engine raises an error.
  std::wstring Eval(std::wstring_view expression) {
    ScriptControlDriver::Result result = engine_.Eval(expression);
    EXPECT_TRUE(result.ok) << WideToGbk(expression);
    return result.text;
  }
  bool Fails(std::wstring_view expression) { return !engine_.Eval(expression).ok; }

  ScriptControlDriver engine_;
};

}  // namespace

// What the tests below rely on, and what the JSON object has to live with.
TEST(ScriptEngineFacts, HasNoNativeJsonAndIsAnOldDialect) {
  ScriptControlDriver engine;
  ASSERT_TRUE(engine.created());
  ASSERT_TRUE(engine.PutText(L"Language", L"JavaScript").ok);
  EXPECT_EQ(engine.Eval(L"typeof JSON").text, L"undefined");
  EXPECT_EQ(engine.Eval(L"typeof Array.isArray + typeof Object.keys + typeof ''.trim").text,
            L"undefinedundefinedundefined");
  // Octal literals, array elisions and the "\v" escape: reasons the checker
  // refuses those forms.
  EXPECT_EQ(engine.Eval(L"010").text, L"8");
  EXPECT_EQ(engine.Eval(L"[1,].length").text, L"2");
  EXPECT_EQ(engine.Eval(L"'\\v' == 'v'").text, L"true");
  EXPECT_EQ(engine.Eval(L"typeof new ActiveXObject('Scripting.Dictionary')").text, L"object");
}

TEST(ScriptEngineFacts, SafeSubsetHoldsOnlyWhenSetBeforeTheLanguage) {
  const wchar_t* createObject = L"typeof new ActiveXObject('Scripting.Dictionary')";
  ScriptControlDriver before;
  ASSERT_TRUE(before.PutBool(L"UseSafeSubset", true).ok);
  ASSERT_TRUE(before.PutText(L"Language", L"JavaScript").ok);
  EXPECT_EQ(before.Eval(L"1 + 1").text, L"2");
  EXPECT_FALSE(before.Eval(createObject).ok);

  ScriptControlDriver after;
  ASSERT_TRUE(after.PutText(L"Language", L"JavaScript").ok);
  ASSERT_TRUE(after.PutBool(L"UseSafeSubset", true).ok);
  EXPECT_EQ(after.Eval(createObject).text, L"object");
}

TEST_F(SupportScript, InstallsJsonOnlyAsAFallback) {
  EXPECT_EQ(Eval(L"typeof JSON.stringify + typeof JSON.parse"), L"functionfunction");
  // A second load must not replace what is there (a native JSON included).
  ASSERT_TRUE(engine_.AddCode(L"JSON.marker = 1; var before = JSON.stringify;").ok);
  ASSERT_TRUE(engine_.AddCode(GbkToWide(kJsonSupportScript)).ok);
  EXPECT_EQ(Eval(L"JSON.marker + ' ' + (JSON.stringify === before)"), L"1 true");
}

TEST_F(SupportScript, StringifyEscapesQuotesBackslashesAndControls) {
  EXPECT_EQ(Eval(LR"(JSON.stringify('q"b\\c/\n\r\t\b\f\x01\x1f\x7f\u2028\u2029 中文'))"),
            LR"("q\"b\\c/\n\r\t\b\f\u0001\u001f)" L"\x7f" LR"(\u2028\u2029 中文")");
  EXPECT_EQ(Eval(LR"(JSON.stringify({'k"\\': 'v'}))"), LR"({"k\"\\":"v"})");
}

TEST_F(SupportScript, StringifyWritesNestedValues) {
  EXPECT_EQ(Eval(LR"js(JSON.stringify({a: [1, 'x', true, null, {b: []}], c: {}, d: -2.5,
                    u: undefined, f: function () {}, n: NaN, i: -Infinity,
                    w: [new String('s'), new Number(3), new Boolean(false), undefined, function () {}]}))js"),
            LR"({"a":[1,"x",true,null,{"b":[]}],"c":{},"d":-2.5,"n":null,"i":null,)"
            LR"("w":["s",3,false,null,null]})");
  EXPECT_EQ(Eval(L"JSON.stringify('x') + JSON.stringify(1) + JSON.stringify(null)"), L"\"x\"1null");
  // Wine's engine writes exponents as "E-07"; still JSON, and exact.
  EXPECT_EQ(Eval(L"var tiny = JSON.parse(JSON.stringify([-2.5e-7, 1e21, 123456789.125]));"
                 L" (tiny[0] === -2.5e-7) + ' ' + (tiny[1] === 1e21) + ' ' + (tiny[2] === 123456789.125)"),
            L"true true true");
  EXPECT_EQ(Eval(L"typeof JSON.stringify(undefined) + typeof JSON.stringify(function () {})"),
            L"undefinedundefined");
  EXPECT_TRUE(Fails(L"var loop = {a: [1]}; loop.a.push(loop); JSON.stringify(loop)"));
  EXPECT_EQ(Eval(L"var shared = [1]; JSON.stringify({a: shared, b: shared})"), L"{\"a\":[1],\"b\":[1]}");
}

TEST_F(SupportScript, StringifyAppliesReplacers) {
  EXPECT_EQ(Eval(LR"(JSON.stringify({a: 1, b: 'x', c: {d: 2}}, function (key, value) {
                       if (key == 'b') return undefined;
                       return typeof value == 'number' ? value * 10 : value;
                     }))"),
            LR"({"a":10,"c":{"d":20}})");
  EXPECT_EQ(Eval(LR"(var holders = []; JSON.stringify({a: [7]}, function (key, value) {
                       holders.push(key + ':' + (this === value ? 'self' : typeof this)); return value;
                     }); holders.join(','))"),
            L":object,a:object,0:object");
  EXPECT_EQ(Eval(LR"(JSON.stringify({b: 2, a: 1, 1: 'one', c: {a: 3, z: 4}}, ['a', 1, 'c', 'a', new String('b'), true]))"),
            LR"({"a":1,"1":"one","c":{"a":3},"b":2})");
}

TEST_F(SupportScript, StringifyIndentsByNumberOrString) {
  EXPECT_EQ(Eval(L"JSON.stringify({a: [1, {}], b: []}, null, 2)"),
            L"{\n  \"a\": [\n    1,\n    {}\n  ],\n  \"b\": []\n}");
  EXPECT_EQ(Eval(L"JSON.stringify([1], null, '\\t')"), L"[\n\t1\n]");
  EXPECT_EQ(Eval(L"JSON.stringify([1], null, 20)"), L"[\n          1\n]");
  EXPECT_EQ(Eval(L"JSON.stringify([1], null, '--------------')"), L"[\n----------1\n]");
  EXPECT_EQ(Eval(L"JSON.stringify([1], null, 0) + JSON.stringify([1], null, -3) + JSON.stringify([1], null, 2.9)"),
            L"[1][1][\n  1\n]");
  EXPECT_EQ(Eval(L"JSON.stringify({a: 1}, null, new Number(1))"), L"{\n \"a\": 1\n}");
}

TEST_F(SupportScript, StringifyCallsToJsonHooks) {
  EXPECT_EQ(Eval(L"JSON.stringify([new Date(Date.UTC(2020, 6, 20, 20, 0, 0, 5)), new Date(NaN)])"),
            L"[\"2020-07-20T20:00:00.005Z\",null]");
  EXPECT_EQ(Eval(L"JSON.stringify({when: {toJSON: function (key) { return 'key ' + key; }}})"),
            L"{\"when\":\"key when\"}");
  EXPECT_EQ(Eval(L"new String('s').toJSON() + new Number(2).toJSON() + new Boolean(true).toJSON()"), L"s2true");
}

TEST_F(SupportScript, PrototypeAdditionsNeverShowAsMembers) {
  EXPECT_EQ(Eval(L"typeof Object.prototype.toJSONString + typeof Object.prototype.parseJSON"), L"functionfunction");
  EXPECT_EQ(Eval(L"JSON.stringify({a: 1})"), L"{\"a\":1}");
  EXPECT_EQ(Eval(L"({a: [1]}).toJSONString() + ' ' + [1, 2].toJSONString(null, 1)"), L"{\"a\":[1]} [\n 1,\n 2\n]");
  EXPECT_EQ(Eval(L"'{\"a\":[5]}'.parseJSON().a[0]"), L"5");
  // A member named like a prototype method is the document's own.
  EXPECT_EQ(Eval(L"JSON.stringify(JSON.parse('{\"toString\":1,\"hasOwnProperty\":2,\"toJSONString\":3}'))"),
            L"{\"toString\":1,\"hasOwnProperty\":2,\"toJSONString\":3}");
}

TEST_F(SupportScript, ParseReadsJson) {
  EXPECT_EQ(Eval(LR"(var doc = JSON.parse(' {"a" : [1, -2.5e1, "x\\"\\\\\\/\\u4e2d\\n", true, false, null], "b": {}} ');
                   doc.a[1] + '|' + doc.a[2] + '|' + doc.a[3] + doc.a[4] + doc.a[5] + '|' + typeof doc.b)"),
            L"-25|x\"\\/中\n|truefalsenull|object");
  EXPECT_EQ(Eval(L"JSON.parse('\"\\\\u2028\"').length + JSON.parse('\"a\\u2028b\"').length"), L"4");
  EXPECT_EQ(Eval(L"JSON.parse('\"中文\"')"), L"中文");
  EXPECT_EQ(Eval(L"JSON.parse(' 7 ') + JSON.parse('[[[]]]').length"), L"8");
}

TEST_F(SupportScript, ParseRejectsAnythingButJsonBeforeRunningIt) {
  ASSERT_TRUE(engine_.AddCode(LR"(var hit = 0;
      function refuses(text) {
        try { JSON.parse(text); } catch (e) { return e instanceof SyntaxError; }
        return false;
      })").ok);
  for (const wchar_t* text : {
           L"[hit = 1]", L"{\"a\": (hit = 2)}", L"[1]; hit = 3", L"(function () { hit = 4; })()",
           L"new ActiveXObject('Scripting.Dictionary')", L"[1,]", L"{'a': 1}", L"{a: 1}", L"01", L"[1 2]",
           L"\"\\v\"", L"{\"a\": 1} x", L"\"open", L"[1", L"]", L"", L"0x10", L"+1", L".5", L"NaN",
           L"[\"tab\there\"]", L"[1] // c", L"/* c */ 1", L"{\"a\" 1}", L"{\"a\":1,}", L"{,}",
       }) {
    std::wstring call = L"refuses('";
    for (const wchar_t* c = text; *c; ++c) call += *c == L'\\' || *c == L'\'' ? std::wstring(L"\\") + *c : std::wstring(1, *c);
    EXPECT_EQ(Eval(call + L"')"), L"true") << WideToGbk(text);
  }
  EXPECT_EQ(Eval(L"hit"), L"0");
  EXPECT_EQ(Eval(L"refuses(new Array(514).join('[') + new Array(514).join(']'))"), L"true");
  EXPECT_EQ(Eval(L"refuses(new Array(513).join('[') + new Array(513).join(']'))"), L"false");
}

TEST_F(SupportScript, ParseRevivesBottomUp) {
  EXPECT_EQ(Eval(LR"(var order = [];
      var revived = JSON.parse('{"a": [1, 2], "b": {"c": 3, "drop": 4}}', function (key, value) {
        order.push(key);
        if (key == 'drop') return undefined;
        return typeof value == 'number' ? value * 2 : value;
      });
      order.join(',') + ' ' + JSON.stringify(revived))"),
            L"0,1,a,c,drop,b, {\"a\":[2,4],\"b\":{\"c\":6}}");
  EXPECT_EQ(Eval(L"JSON.parse('[1]', function (key, value) { return key === '' ? 'root' : value; })"), L"root");
}

TEST_F(SupportScript, NodeValuesComeInDocumentOrder) {
  std::wstring document = LR"(var doc = {a: 1, b: {c: 'x', d: [true, 2, null, [3]]}, e: null, f: 'y', g: function () {}};)";
  EXPECT_EQ(Eval(document + L"str_all = new Array(); get__nodeValue(doc, true).join('|')"), L"1|x|true|2|3|y");
  EXPECT_EQ(Eval(document + L"str_all = new Array(); get__nodeValue(doc, false).join('|')"), L"1|y");
  // Array elements by index, whatever order they were stored in.
  EXPECT_EQ(Eval(L"var late = []; late[2] = 'c'; late[0] = 'a'; str_all = []; get__nodeValue(late, true).join('|')"),
            L"a|c");
  EXPECT_EQ(Eval(L"var self = {a: 1}; self.me = self; str_all = []; get__nodeValue(self, true).join('|')"), L"1");
  EXPECT_EQ(Eval(L"str_all = []; get__nodeValue('text', true).length + get__nodeValue(null, true).length"), L"0");
  EXPECT_EQ(Eval(L"Object.prototype.leak = 'x'; str_all = []; var r = get__nodeValue({a: 'b'}, true).join('|');"
                 L" delete Object.prototype.leak; r"),
            L"b");
}

// (Deeper than some 30000 levels, Wine's engine itself crashes when it
// releases the value, so the test stays well below that.)
TEST_F(SupportScript, NodeValuesStopAtTheDepthLimit) {
  EXPECT_EQ(Eval(L"var deep = []; for (var i = 0; i < 5000; i++) deep = [1, deep];"
                 L" str_all = []; get__nodeValue(deep, true).length"),
            L"512");
}

TEST_F(SupportScript, CountIsTheLengthOfArraysOnly) {
  EXPECT_EQ(Eval(L"get__count([1, 2, 3]) + ',' + get__count([]) + ',' + get__count({length: 5}) + ',' +"
                 L" get__count('abc') + ',' + get__count(null) + ',' + get__count(undefined)"),
            L"3,0,0,0,0,0");
}

TEST_F(SupportScript, NamesSkipFunctionsAndPrototypeMembers) {
  EXPECT_EQ(Eval(L"get__name_All({a: 1, f: function () {}, 'b c': 'x', n: null})"), L"a\r\nb c\r\nn");
  EXPECT_EQ(Eval(L"Object.prototype.leak = 'x'; var r = get__name_All({a: 1}); delete Object.prototype.leak; r"),
            L"a");
  EXPECT_EQ(Eval(L"get__name_All(['x', 'y'])"), L"0\r\n1");
  EXPECT_EQ(Eval(L"get__name_All({toString: 1, valueOf: 2})"), L"toString\r\nvalueOf");
  EXPECT_EQ(Eval(L"get__name_All({}) + get__name_All('abc') + get__name_All(5) + get__name_All(null)"), L"");
}

TEST_F(SupportScript, ExtendAppendsToArrays) {
  EXPECT_EQ(Eval(L"JSON.stringify(get__extend([1], [2, [3]]))"), L"[1,2,[3]]");
  EXPECT_EQ(Eval(L"JSON.stringify(get__extend([1], 5)) + JSON.stringify(get__extend([], {a: 1}))"), L"[1,5][{\"a\":1}]");
  EXPECT_EQ(Eval(L"var twice = [1, 2]; JSON.stringify(get__extend(twice, twice))"), L"[1,2,1,2]");
}

TEST_F(SupportScript, ExtendMergesObjects) {
  EXPECT_EQ(Eval(LR"(JSON.stringify(get__extend(
                       {a: 'x', b: true, n: 1, o: {p: 1, q: {r: 1}}, l: [1], z: null, keep: 0},
                       {a: 'y', b: false, n: 2, o: {q: {s: 2}}, l: [2], z: {t: 1}, u: 'new'})))"),
            LR"({"a":"y","b":false,"n":2,"o":{"p":1,"q":{"r":1,"s":2}},"l":[1,2],"z":{"t":1},"keep":0,"u":"new"})");
  // A member holding an object takes a plain value as a replacement.
  EXPECT_EQ(Eval(L"JSON.stringify(get__extend({o: {p: 1}}, {o: 7}))"), L"{\"o\":7}");
}

TEST_F(SupportScript, ExtendOfNonObjectsYieldsTheSource) {
  EXPECT_EQ(Eval(L"JSON.stringify(get__extend(5, {a: 1})) + JSON.stringify(get__extend({a: 1}, 5))"), L"{\"a\":1}5");
  EXPECT_EQ(Eval(L"JSON.stringify(get__extend(null, [1])) + JSON.stringify(get__extend({a: 1}, [2]))"), L"[1][2]");
}

// The statements the JSON object builds around the script.
TEST_F(SupportScript, ServesTheJsonObjectsStatements) {
  ASSERT_TRUE(engine_.Eval(L"var da = {}, str_Code = String.fromCharCode(9216), str_reg = new RegExp(str_Code, 'g')").ok);
  Eval(LR"(da = JSON.parse('{"zt":1,"dom":"https:\/\/dl.example.com","inf":{"n":"文件"}}'))");
  Eval(LR"(da.path = 'C:\\dir\\a.txt'.replace(/\\/g, str_Code))");
  EXPECT_EQ(Eval(LR"(JSON.stringify(da).replace(str_reg, '\\'))"),
            LR"({"zt":1,"dom":"https://dl.example.com","inf":{"n":"文件"},"path":"C:\dir\a.txt"})");
  Eval(L"var str_all = new Array()");
  Eval(L"get__nodeValue(da, true)");
  EXPECT_EQ(Eval(L"str_all.join('[2020年7月20日20时0分0秒]')"),
            L"1[2020年7月20日20时0分0秒]https://dl.example.com[2020年7月20日20时0分0秒]文件"
            L"[2020年7月20日20时0分0秒]C:\x2400" L"dir\x2400" L"a.txt");
}

// Texts the checker accepts mean in the engine what they mean as JSON.
TEST_F(SupportScript, CheckedLiteralsLoadAsTheirValue) {
  struct Case {
    const char* text;
    const wchar_t* json;
  } cases[] = {
      {"{a: 'x', \"b\": .5, c: 5., d: 0x1F, e: -1e3, f: +2, $g: -0XA}",
       L"{\"a\":\"x\",\"b\":0.5,\"c\":5,\"d\":31,\"e\":-1000,\"f\":2,\"$g\":-10}"},
      {R"(['\x41\u4e2d\'\"\0', "\/\b\f\n\r\t", "中文\\"])", LR"(["A中'\"\u0000","/\b\f\n\r\t","中文\\"])"},
      {"\r\n[\t1 ,\r\n2\r]\n", L"[1,2]"},
      {"[\"\x81\x5C\"]", nullptr},
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(CheckLiteralText(c.text, LiteralUse::Assigned)) << c.text;
    ASSERT_TRUE(engine_.AddCode(L"var da = " + GbkToWide(c.text)).ok) << c.text;
    if (c.json) {
      EXPECT_EQ(Eval(L"JSON.stringify(da)"), c.json) << c.text;
    }
  }
  EXPECT_EQ(Eval(L"da[0].length"), L"1");
  std::string deepest = std::string(kMaxLiteralDepth, '[') + std::string(kMaxLiteralDepth, ']');
  ASSERT_FALSE(CheckLiteralText(deepest, LiteralUse::Assigned));
  EXPECT_TRUE(engine_.AddCode(L"var da = " + GbkToWide(deepest)).ok);
}
