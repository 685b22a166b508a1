#include "script/json_support_script.h"

// Kept ASCII: the text goes to the engine unchanged, whatever the code page.
const char kJsonSupportScript[] = R"js(
var str_all = [], get__nodeValue, get__count, get__name_All, get__extend;

(function () {
  var hasOwn = Object.prototype.hasOwnProperty;
  var classText = Object.prototype.toString;
  // Older engines leave an own member out of for-in when the prototype has
  // a hidden member of the same name; these are looked up one by one.
  var shadowed = ['constructor', 'hasOwnProperty', 'isPrototypeOf', 'propertyIsEnumerable',
                  'toLocaleString', 'toString', 'valueOf'];
  var maxDepth = 512;

  // 'Object', 'Array', 'String', 'Number', 'Boolean', 'Date', 'Function'...;
  // '' for null and undefined.
  function kind(value) {
    return value == null ? '' : classText.call(value).slice(8, -1);
  }
  function isContainer(value) {
    var k = kind(value);
    return k == 'Object' || k == 'Array';
  }
  function isScalar(value) {
    var k = kind(value);
    return k == 'String' || k == 'Number' || k == 'Boolean';
  }

  // Own member names in enumeration order; array indexes for an array.
  function keysOf(value) {
    var names = [], name, i, j;
    if (kind(value) == 'Array') {
      for (i = 0; i < value.length; i++) names.push(String(i));
      return names;
    }
    for (name in value) {
      if (hasOwn.call(value, name)) names.push(name);
    }
    for (i = 0; i < shadowed.length; i++) {
      name = shadowed[i];
      if (!hasOwn.call(value, name)) continue;
      for (j = 0; j < names.length && names[j] !== name; j++) {}
      if (j == names.length) names.push(name);
    }
    return names;
  }

  // Walks with an explicit stack, so deep values cannot exhaust the
  // engine's stack. A value already being walked is skipped, and the walk
  // goes no deeper than maxDepth levels, which bounds the cost of that check.
  get__nodeValue = function (str_json, recursion) {
    var stack = [], top, item, i;
    if (isContainer(str_json)) stack.push({ value: str_json, names: keysOf(str_json), next: 0 });
    while (stack.length) {
      top = stack[stack.length - 1];
      if (top.next == top.names.length) {
        stack.pop();
        continue;
      }
      item = top.value[top.names[top.next++]];
      if (isScalar(item)) {
        str_all.push(item);
      } else if (recursion && isContainer(item) && stack.length < maxDepth) {
        for (i = 0; i < stack.length && stack[i].value !== item; i++) {}
        if (i == stack.length) stack.push({ value: item, names: keysOf(item), next: 0 });
      }
    }
    return str_all;
  };

  get__count = function (value) {
    return kind(value) == 'Array' ? value.length : 0;
  };

  get__name_All = function (value) {
    var names, kept = [], i;
    if (value == null || typeof value != 'object') return '';
    names = keysOf(value);
    for (i = 0; i < names.length; i++) {
      if (typeof value[names[i]] != 'function') kept.push(names[i]);
    }
    return kept.join('\r\n');
  };

  // An array target gets the elements of an array source appended (any
  // other source is appended as one element). An object target takes the
  // members of an object source: a member holding an object or array is
  // merged in turn, any other member is overwritten. Everything else, an
  // object target with a non-object source included, yields the source.
  get__extend = function (target, source) {
    var names, name, i, count;
    if (kind(target) == 'Array') {
      if (kind(source) == 'Array') {
        for (i = 0, count = source.length; i < count; i++) target.push(source[i]);
      } else {
        target.push(source);
      }
      return target;
    }
    if (kind(target) != 'Object' || kind(source) != 'Object') return source;
    names = keysOf(source);
    for (i = 0; i < names.length; i++) {
      name = names[i];
      if (hasOwn.call(target, name) && isContainer(target[name])) {
        target[name] = get__extend(target[name], source[name]);
      } else {
        target[name] = source[name];
      }
    }
    return target;
  };

  if (typeof JSON != 'undefined') return;

  JSON = {};

  function pad(number, width) {
    var text = String(number);
    while (text.length < width) text = '0' + text;
    return text;
  }

  var escapes = { '"': '\\"', '\\': '\\\\', '\b': '\\b', '\f': '\\f', '\n': '\\n', '\r': '\\r', '\t': '\\t' };
  // U+2028 and U+2029 are escaped too: they end a line in script source.
  var unsafe = /["\\\x00-\x1f\u2028\u2029]/g;
  function escapeChar(c) {
    return hasOwn.call(escapes, c) ? escapes[c] : '\\u' + pad(c.charCodeAt(0).toString(16), 4);
  }
  function quote(text) {
    return '"' + text.replace(unsafe, escapeChar) + '"';
  }

  function wrap(open, close, parts, indent, gap) {
    if (!parts.length) return open + close;
    if (!gap) return open + parts.join(',') + close;
    var inner = '\n' + indent + gap;
    return open + inner + parts.join(',' + inner) + '\n' + indent + close;
  }

  // The JSON text of holder[key], or undefined when it has none.
  function serialize(holder, key, indent, state) {
    var value = holder[key], parts = [], names, text, i, inner = indent + state.gap;
    if (value != null && typeof value == 'object' && typeof value.toJSON == 'function') value = value.toJSON(key);
    if (state.replacer) value = state.replacer.call(holder, key, value);
    switch (kind(value)) {
      case '':
        return value === null ? 'null' : undefined;
      case 'Function':
        return undefined;
      case 'String':
        return quote(String(value));
      case 'Number':
        value = Number(value);
        return isFinite(value) ? String(value) : 'null';
      case 'Boolean':
        return value.valueOf() ? 'true' : 'false';
    }
    for (i = 0; i < state.stack.length; i++) {
      if (state.stack[i] === value) throw new TypeError('JSON.stringify: cyclic structure');
    }
    state.stack.push(value);
    if (kind(value) == 'Array') {
      for (i = 0; i < value.length; i++) {
        text = serialize(value, String(i), inner, state);
        parts.push(text === undefined ? 'null' : text);
      }
      text = wrap('[', ']', parts, indent, state.gap);
    } else {
      names = state.allowed || keysOf(value);
      for (i = 0; i < names.length; i++) {
        text = serialize(value, names[i], inner, state);
        if (text !== undefined) parts.push(quote(names[i]) + (state.gap ? ': ' : ':') + text);
      }
      text = wrap('{', '}', parts, indent, state.gap);
    }
    state.stack.pop();
    return text;
  }

  JSON.stringify = function (value, replacer, space) {
    var state = { gap: '', replacer: null, allowed: null, stack: [] }, item, i, j, count;
    if (typeof replacer == 'function') {
      state.replacer = replacer;
    } else if (kind(replacer) == 'Array') {
      state.allowed = [];
      for (i = 0; i < replacer.length; i++) {
        item = replacer[i];
        if (kind(item) != 'String' && kind(item) != 'Number') continue;
        item = String(item);
        for (j = 0; j < state.allowed.length && state.allowed[j] !== item; j++) {}
        if (j == state.allowed.length) state.allowed.push(item);
      }
    }
    if (kind(space) == 'Number') {
      count = Math.floor(Math.min(10, Number(space)));
      while (state.gap.length < count) state.gap += ' ';
    } else if (kind(space) == 'String') {
      state.gap = String(space).substring(0, 10);
    }
    return serialize({ '': value }, '', '', state);
  };

  // One token after optional white space: punctuation, string, number or
  // word. The string pattern has no nested repetition of the same text, so
  // a failing match cannot backtrack at length.
  var token = /[ \t\r\n]*(?:([{}\[\]:,])|("[^"\\\x00-\x1f]*(?:\\(?:["\\\/bfnrt]|u[0-9a-fA-F]{4})[^"\\\x00-\x1f]*)*")|(-?(?:0|[1-9][0-9]*)(?:\.[0-9]+)?(?:[eE][+-]?[0-9]+)?)|(true|false|null))/g;
  var trailingSpace = /^[ \t\r\n]*$/;

  // Throws a SyntaxError unless text is exactly one JSON value.
  function validate(text) {
    var open = [], want = 'value', justOpened = false, at = 0, match, mark, top;
    for (;;) {
      token.lastIndex = at;
      match = token.exec(text);
      if (!match || match.index != at) {
        if (want == 'next' && !open.length && trailingSpace.test(text.slice(at))) return;
        throw new SyntaxError('JSON.parse: unexpected text at offset ' + at);
      }
      at = token.lastIndex;
      mark = match[1];
      top = open[open.length - 1];
      if (want == 'colon') {
        if (mark != ':') break;
        want = 'value';
      } else if (want == 'next') {
        if (mark == ',' && top) {
          want = top == '{' ? 'name' : 'value';
        } else if ((mark == '}' && top == '{') || (mark == ']' && top == '[')) {
          open.pop();
        } else {
          break;
        }
      } else if (justOpened && mark == (top == '{' ? '}' : ']')) {
        open.pop();
        want = 'next';
      } else if (want == 'name') {
        if (!match[2]) break;
        want = 'colon';
      } else if (mark == '{' || mark == '[') {
        if (open.length == maxDepth) throw new SyntaxError('JSON.parse: nested too deeply');
        open.push(mark);
        want = mark == '{' ? 'name' : 'value';
        justOpened = true;
        continue;
      } else if (mark) {
        break;
      } else {
        want = 'next';
      }
      justOpened = false;
    }
    throw new SyntaxError('JSON.parse: unexpected token at offset ' + match.index);
  }

  function revive(holder, key, reviver) {
    var value = holder[key], names, i, item;
    if (value != null && typeof value == 'object') {
      names = keysOf(value);
      for (i = 0; i < names.length; i++) {
        item = revive(value, names[i], reviver);
        if (item === undefined) {
          delete value[names[i]];
        } else {
          value[names[i]] = item;
        }
      }
    }
    return reviver.call(holder, key, value);
  }

  JSON.parse = function (text, reviver) {
    var result;
    text = String(text);
    validate(text);
    // Valid JSON may hold these two raw inside strings; script source may not.
    result = eval('(' + text.replace(/[\u2028\u2029]/g, escapeChar) + ')');
    return typeof reviver == 'function' ? revive({ '': result }, '', reviver) : result;
  };

  Date.prototype.toJSON = function () {
    var year = this.getUTCFullYear();
    if (!isFinite(this.valueOf())) return null;
    return (year >= 0 && year <= 9999 ? pad(year, 4) : (year < 0 ? '-' : '+') + pad(Math.abs(year), 6)) +
        '-' + pad(this.getUTCMonth() + 1, 2) + '-' + pad(this.getUTCDate(), 2) +
        'T' + pad(this.getUTCHours(), 2) + ':' + pad(this.getUTCMinutes(), 2) + ':' + pad(this.getUTCSeconds(), 2) +
        '.' + pad(this.getUTCMilliseconds(), 3) + 'Z';
  };
  String.prototype.toJSON = Number.prototype.toJSON = Boolean.prototype.toJSON = function () {
    return this.valueOf();
  };
  Object.prototype.toJSONString = function (replacer, space) {
    return JSON.stringify(this, replacer, space);
  };
  Object.prototype.parseJSON = function (reviver) {
    return JSON.parse(String(this), reviver);
  };
})();
)js";
