// JavaScript loaded into every JSON engine before the document variable is
// declared. It defines, for the JSON object's expressions:
//   get__nodeValue(value, recursion)  pushes the string, number and boolean
//       members of value onto the global array str_all, in document order,
//       descending into objects and arrays when recursion is true (at most
//       512 levels, never twice into a value it is inside); returns str_all
//   get__count(value)          the length of an array, otherwise 0
//   get__name_All(value)       own member names of an object or array that
//       do not hold functions, joined with CR LF; otherwise ""
//   get__extend(target, source)  merges source into target and returns the
//       result: see the script for the rules
// and, only when the engine has no JSON object of its own, JSON.stringify,
// JSON.parse, the toJSON hooks of Date, String, Number and Boolean, and
// Object.prototype.toJSONString / parseJSON. It is plain ES3 so that older
// engines run it, and it only ever walks own members, so the members it adds
// to the prototypes never show up as document members.
#pragma once

extern const char kJsonSupportScript[];
