// Runs the support script in the platform's script control, the engine of
// the JSON object, through the automation bridge.
#include <gtest/gtest.h>

#include <string>

#include "script/json_literal_check.h"
#include "script/json_object.h"
#include "script/json_support_script.h"
#include "script_eval.h"

namespace {

class SupportScript : public ::testing::Test {
 protected:
  // The value of a JavaScript expression as text; fails the test when the
  // engine raises an error.
  std::string Eval(const std::string& expression) {
    bool ran;
    std::string value = EvalIn(engine_, expression, &ran);
    EXPECT_TRUE(ran) << expression;
    return value;
  }
  bool Fails(const std::string& expression) {
    bool ran;
    EvalIn(engine_, expression, &ran);
    return !ran;
  }
  bool AddCode(const std::string& code) { return AddCodeIn(engine_, code); }

  JsonObject json_;  // its engine has the support script loaded
  AutomationObject engine_ = json_.GetScriptObject();
};

}  // namespace

// What the tests below rely on, and what the JSON object has to live with.
TEST(ScriptEngineFacts, HasNoNativeJsonAndIsAnOldDialect) {
  BareEngine engine;
  EXPECT_EQ(engine.Eval("typeof JSON"), "undefined");
  EXPECT_EQ(engine.Eval("typeof Array.isArray + typeof Object.keys + typeof ''.trim"),
            "undefinedundefinedundefined");
  // Octal literals, array elisions and the "\v" escape: reasons the checker
  // refuses those forms.
  EXPECT_EQ(engine.Eval("010"), "8");
  EXPECT_EQ(engine.Eval("[1,].length"), "2");
  EXPECT_EQ(engine.Eval("String('\\v' == 'v')"), "true");
  EXPECT_EQ(engine.Eval("typeof new ActiveXObject('Scripting.Dictionary')"), "object");
}

TEST(ScriptEngineFacts, SafeSubsetHoldsOnlyWhenSetBeforeTheLanguage) {
  const char* createObject = "typeof new ActiveXObject('Scripting.Dictionary')";
  bool ran;
  BareEngine before(BareEngine::kBeforeLanguage);
  EXPECT_EQ(before.Eval("1 + 1"), "2");
  EXPECT_NE(before.Eval(createObject, &ran), "object");
  EXPECT_FALSE(ran);

  BareEngine after(BareEngine::kAfterLanguage);
  EXPECT_EQ(after.Eval(createObject), "object");
}

TEST_F(SupportScript, InstallsJsonOnlyAsAFallback) {
  EXPECT_EQ(Eval("typeof JSON.stringify + typeof JSON.parse"), "functionfunction");
  // A second load must not replace what is there (a native JSON included).
  ASSERT_TRUE(AddCode("JSON.marker = 1; var before = JSON.stringify;"));
  ASSERT_TRUE(AddCode(kJsonSupportScript));
  EXPECT_EQ(Eval("JSON.marker + ' ' + (JSON.stringify === before)"), "1 true");
}

TEST_F(SupportScript, StringifyEscapesQuotesBackslashesAndControls) {
  EXPECT_EQ(Eval(R"(JSON.stringify('q"b\\c/\n\r\t\b\f\x01\x1f\x7f\u2028\u2029 中文'))"),
            R"("q\"b\\c/\n\r\t\b\f\u0001\u001f)" "\x7f" R"(\u2028\u2029 中文")");
  EXPECT_EQ(Eval(R"(JSON.stringify({'k"\\': 'v'}))"), R"({"k\"\\":"v"})");
}

TEST_F(SupportScript, StringifyWritesNestedValues) {
  EXPECT_EQ(Eval(R"js(JSON.stringify({a: [1, 'x', true, null, {b: []}], c: {}, d: -2.5,
                    u: undefined, f: function () {}, n: NaN, i: -Infinity,
                    w: [new String('s'), new Number(3), new Boolean(false), undefined, function () {}]}))js"),
            R"({"a":[1,"x",true,null,{"b":[]}],"c":{},"d":-2.5,"n":null,"i":null,)"
            R"("w":["s",3,false,null,null]})");
  EXPECT_EQ(Eval("JSON.stringify('x') + JSON.stringify(1) + JSON.stringify(null)"), "\"x\"1null");
  // Wine's engine writes exponents as "E-07"; still JSON, and exact.
  EXPECT_EQ(Eval("var tiny = JSON.parse(JSON.stringify([-2.5e-7, 1e21, 123456789.125]));"
                 " (tiny[0] === -2.5e-7) + ' ' + (tiny[1] === 1e21) + ' ' + (tiny[2] === 123456789.125)"),
            "true true true");
  EXPECT_EQ(Eval("typeof JSON.stringify(undefined) + typeof JSON.stringify(function () {})"),
            "undefinedundefined");
  EXPECT_TRUE(Fails("var loop = {a: [1]}; loop.a.push(loop); JSON.stringify(loop)"));
  EXPECT_EQ(Eval("var shared = [1]; JSON.stringify({a: shared, b: shared})"), "{\"a\":[1],\"b\":[1]}");
}

TEST_F(SupportScript, StringifyAppliesReplacers) {
  EXPECT_EQ(Eval(R"(JSON.stringify({a: 1, b: 'x', c: {d: 2}}, function (key, value) {
                       if (key == 'b') return undefined;
                       return typeof value == 'number' ? value * 10 : value;
                     }))"),
            R"({"a":10,"c":{"d":20}})");
  EXPECT_EQ(Eval(R"(var holders = []; JSON.stringify({a: [7]}, function (key, value) {
                       holders.push(key + ':' + (this === value ? 'self' : typeof this)); return value;
                     }); holders.join(','))"),
            ":object,a:object,0:object");
  EXPECT_EQ(Eval(R"(JSON.stringify({b: 2, a: 1, 1: 'one', c: {a: 3, z: 4}}, ['a', 1, 'c', 'a', new String('b'), true]))"),
            R"({"a":1,"1":"one","c":{"a":3},"b":2})");
}

TEST_F(SupportScript, StringifyIndentsByNumberOrString) {
  EXPECT_EQ(Eval("JSON.stringify({a: [1, {}], b: []}, null, 2)"),
            "{\n  \"a\": [\n    1,\n    {}\n  ],\n  \"b\": []\n}");
  EXPECT_EQ(Eval("JSON.stringify([1], null, '\\t')"), "[\n\t1\n]");
  EXPECT_EQ(Eval("JSON.stringify([1], null, 20)"), "[\n          1\n]");
  EXPECT_EQ(Eval("JSON.stringify([1], null, '--------------')"), "[\n----------1\n]");
  EXPECT_EQ(Eval("JSON.stringify([1], null, 0) + JSON.stringify([1], null, -3) + JSON.stringify([1], null, 2.9)"),
            "[1][1][\n  1\n]");
  EXPECT_EQ(Eval("JSON.stringify({a: 1}, null, new Number(1))"), "{\n \"a\": 1\n}");
}

TEST_F(SupportScript, StringifyCallsToJsonHooks) {
  EXPECT_EQ(Eval("JSON.stringify([new Date(Date.UTC(2020, 6, 20, 20, 0, 0, 5)), new Date(NaN)])"),
            "[\"2020-07-20T20:00:00.005Z\",null]");
  EXPECT_EQ(Eval("JSON.stringify({when: {toJSON: function (key) { return 'key ' + key; }}})"),
            "{\"when\":\"key when\"}");
  EXPECT_EQ(Eval("new String('s').toJSON() + new Number(2).toJSON() + new Boolean(true).toJSON()"), "s2true");
}

TEST_F(SupportScript, PrototypeAdditionsNeverShowAsMembers) {
  EXPECT_EQ(Eval("typeof Object.prototype.toJSONString + typeof Object.prototype.parseJSON"), "functionfunction");
  EXPECT_EQ(Eval("JSON.stringify({a: 1})"), "{\"a\":1}");
  EXPECT_EQ(Eval("({a: [1]}).toJSONString() + ' ' + [1, 2].toJSONString(null, 1)"), "{\"a\":[1]} [\n 1,\n 2\n]");
  EXPECT_EQ(Eval("'{\"a\":[5]}'.parseJSON().a[0]"), "5");
  // A member named like a prototype method is the document's own.
  EXPECT_EQ(Eval("JSON.stringify(JSON.parse('{\"toString\":1,\"hasOwnProperty\":2,\"toJSONString\":3}'))"),
            "{\"toString\":1,\"hasOwnProperty\":2,\"toJSONString\":3}");
}

TEST_F(SupportScript, ParseReadsJson) {
  EXPECT_EQ(Eval(R"(var doc = JSON.parse(' {"a" : [1, -2.5e1, "x\\"\\\\\\/\\u4e2d\\n", true, false, null], "b": {}} ');
                   doc.a[1] + '|' + doc.a[2] + '|' + doc.a[3] + doc.a[4] + doc.a[5] + '|' + typeof doc.b)"),
            "-25|x\"\\/中\n|truefalsenull|object");
  EXPECT_EQ(Eval("JSON.parse('\"\\\\u2028\"').length + JSON.parse('\"a\\u2028b\"').length"), "4");
  EXPECT_EQ(Eval("JSON.parse('\"中文\"')"), "中文");
  EXPECT_EQ(Eval("JSON.parse(' 7 ') + JSON.parse('[[[]]]').length"), "8");
}

TEST_F(SupportScript, ParseRejectsAnythingButJsonBeforeRunningIt) {
  ASSERT_TRUE(AddCode(R"(var hit = 0;
      function refuses(text) {
        try { JSON.parse(text); } catch (e) { return e instanceof SyntaxError; }
        return false;
      })"));
  for (const char* text : {
           "[hit = 1]", "{\"a\": (hit = 2)}", "[1]; hit = 3", "(function () { hit = 4; })()",
           "new ActiveXObject('Scripting.Dictionary')", "[1,]", "{'a': 1}", "{a: 1}", "01", "[1 2]",
           "\"\\v\"", "{\"a\": 1} x", "\"open", "[1", "]", "", "0x10", "+1", ".5", "NaN",
           "[\"tab\there\"]", "[1] // c", "/* c */ 1", "{\"a\" 1}", "{\"a\":1,}", "{,}",
       }) {
    std::string call = "String(refuses('";
    for (const char* c = text; *c; ++c) call += *c == '\\' || *c == '\'' ? std::string("\\") + *c : std::string(1, *c);
    EXPECT_EQ(Eval(call + "'))"), "true") << text;
  }
  EXPECT_EQ(Eval("hit"), "0");
  EXPECT_EQ(Eval("String(refuses(new Array(514).join('[') + new Array(514).join(']')))"), "true");
  EXPECT_EQ(Eval("String(refuses(new Array(513).join('[') + new Array(513).join(']')))"), "false");
}

TEST_F(SupportScript, ParseRevivesBottomUp) {
  EXPECT_EQ(Eval(R"(var order = [];
      var revived = JSON.parse('{"a": [1, 2], "b": {"c": 3, "drop": 4}}', function (key, value) {
        order.push(key);
        if (key == 'drop') return undefined;
        return typeof value == 'number' ? value * 2 : value;
      });
      order.join(',') + ' ' + JSON.stringify(revived))"),
            "0,1,a,c,drop,b, {\"a\":[2,4],\"b\":{\"c\":6}}");
  EXPECT_EQ(Eval("JSON.parse('[1]', function (key, value) { return key === '' ? 'root' : value; })"), "root");
}

TEST_F(SupportScript, NodeValuesComeInDocumentOrder) {
  std::string document = R"(var doc = {a: 1, b: {c: 'x', d: [true, 2, null, [3]]}, e: null, f: 'y', g: function () {}};)";
  EXPECT_EQ(Eval(document + "str_all = new Array(); get__nodeValue(doc, true).join('|')"), "1|x|true|2|3|y");
  EXPECT_EQ(Eval(document + "str_all = new Array(); get__nodeValue(doc, false).join('|')"), "1|y");
  // Array elements by index, whatever order they were stored in.
  EXPECT_EQ(Eval("var late = []; late[2] = 'c'; late[0] = 'a'; str_all = []; get__nodeValue(late, true).join('|')"),
            "a|c");
  EXPECT_EQ(Eval("var self = {a: 1}; self.me = self; str_all = []; get__nodeValue(self, true).join('|')"), "1");
  EXPECT_EQ(Eval("str_all = []; get__nodeValue('text', true).length + get__nodeValue(null, true).length"), "0");
  EXPECT_EQ(Eval("Object.prototype.leak = 'x'; str_all = []; var r = get__nodeValue({a: 'b'}, true).join('|');"
                 " delete Object.prototype.leak; r"),
            "b");
}

// (Deeper than some 30000 levels, Wine's engine itself crashes when it
// releases the value, so the test stays well below that.)
TEST_F(SupportScript, NodeValuesStopAtTheDepthLimit) {
  EXPECT_EQ(Eval("var deep = []; for (var i = 0; i < 5000; i++) deep = [1, deep];"
                 " str_all = []; get__nodeValue(deep, true).length"),
            "512");
}

TEST_F(SupportScript, CountIsTheLengthOfArraysOnly) {
  EXPECT_EQ(Eval("get__count([1, 2, 3]) + ',' + get__count([]) + ',' + get__count({length: 5}) + ',' +"
                 " get__count('abc') + ',' + get__count(null) + ',' + get__count(undefined)"),
            "3,0,0,0,0,0");
}

TEST_F(SupportScript, NamesSkipFunctionsAndPrototypeMembers) {
  EXPECT_EQ(Eval("get__name_All({a: 1, f: function () {}, 'b c': 'x', n: null})"), "a\r\nb c\r\nn");
  EXPECT_EQ(Eval("Object.prototype.leak = 'x'; var r = get__name_All({a: 1}); delete Object.prototype.leak; r"),
            "a");
  EXPECT_EQ(Eval("get__name_All(['x', 'y'])"), "0\r\n1");
  EXPECT_EQ(Eval("get__name_All({toString: 1, valueOf: 2})"), "toString\r\nvalueOf");
  EXPECT_EQ(Eval("get__name_All({}) + get__name_All('abc') + get__name_All(5) + get__name_All(null)"), "");
}

TEST_F(SupportScript, ExtendAppendsToArrays) {
  EXPECT_EQ(Eval("JSON.stringify(get__extend([1], [2, [3]]))"), "[1,2,[3]]");
  EXPECT_EQ(Eval("JSON.stringify(get__extend([1], 5)) + JSON.stringify(get__extend([], {a: 1}))"), "[1,5][{\"a\":1}]");
  EXPECT_EQ(Eval("var twice = [1, 2]; JSON.stringify(get__extend(twice, twice))"), "[1,2,1,2]");
}

TEST_F(SupportScript, ExtendMergesObjects) {
  EXPECT_EQ(Eval(R"(JSON.stringify(get__extend(
                       {a: 'x', b: true, n: 1, o: {p: 1, q: {r: 1}}, l: [1], z: null, keep: 0},
                       {a: 'y', b: false, n: 2, o: {q: {s: 2}}, l: [2], z: {t: 1}, u: 'new'})))"),
            R"({"a":"y","b":false,"n":2,"o":{"p":1,"q":{"r":1,"s":2}},"l":[1,2],"z":{"t":1},"keep":0,"u":"new"})");
  // A member holding an object takes a plain value as a replacement.
  EXPECT_EQ(Eval("JSON.stringify(get__extend({o: {p: 1}}, {o: 7}))"), "{\"o\":7}");
}

TEST_F(SupportScript, ExtendOfNonObjectsYieldsTheSource) {
  EXPECT_EQ(Eval("JSON.stringify(get__extend(5, {a: 1})) + JSON.stringify(get__extend({a: 1}, 5))"), "{\"a\":1}5");
  EXPECT_EQ(Eval("JSON.stringify(get__extend(null, [1])) + JSON.stringify(get__extend({a: 1}, [2]))"), "[1][2]");
}

// Texts the checker accepts mean in the engine what they mean as JSON.
TEST_F(SupportScript, CheckedLiteralsLoadAsTheirValue) {
  struct Case {
    const char* text;
    const char* json;
  } cases[] = {
      {"{a: 'x', \"b\": .5, c: 5., d: 0x1F, e: -1e3, f: +2, $g: -0XA}",
       "{\"a\":\"x\",\"b\":0.5,\"c\":5,\"d\":31,\"e\":-1000,\"f\":2,\"$g\":-10}"},
      {R"(['\x41\u4e2d\'\"\0', "\/\b\f\n\r\t", "中文\\"])", R"(["A中'\"\u0000","/\b\f\n\r\t","中文\\"])"},
      {"\r\n[\t1 ,\r\n2\r]\n", "[1,2]"},
      {"[\"\x81\x5C\"]", "[\"\x81\x5C\"]"},
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(CheckLiteralText(c.text, LiteralUse::Assigned)) << c.text;
    ASSERT_TRUE(json_.Parse(c.text, true)) << c.text;
    EXPECT_EQ(json_.ToJson().view(), c.json) << c.text;
  }
  AutomationObject engine = json_.GetScriptObject();
  EXPECT_EQ(EvalIn(engine, "da[0].length"), "1");
  std::string deepest = std::string(kMaxLiteralDepth, '[') + std::string(kMaxLiteralDepth, ']');
  ASSERT_FALSE(CheckLiteralText(deepest, LiteralUse::Assigned));
  EXPECT_TRUE(json_.Parse(deepest.c_str(), true));
}
