// The request methods both request engines accept, by index.
#pragma once
#include <cstdint>

enum class HttpMethod : int32_t { Get, Post, Head, Put, Options, Delete, Trace, Connect };

// The method of an index; indexes outside 0..7 are GET, so every request has a verb.
HttpMethod HttpMethodOf(int32_t index);
// "GET", "POST", ...
const char* HttpVerb(HttpMethod method);
