// The standard lines the request engines add to a caller's header block.
#pragma once
#include "http/http_method.h"
#include "runtime/text.h"

inline constexpr const char* DefaultUserAgent = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// Appends, each after "\r\n" at the end of the block and in this order, the
// lines whose names the block does not hold anywhere (case-insensitive):
// Accept, Referer (the url), Accept-Language, with `addAgent` User-Agent,
// and for a POST Content-Type.
void CompleteHeaderBlock(Text& block, const char* url, HttpMethod method, bool addAgent);

// The agent WinINet is opened with: the trimmed value of the block's
// User-Agent line, its name written in any case; the default agent when the
// block has no such line or its value is empty. (Never the text after the
// block's first colon: in a block of several lines that would carry line
// breaks into the agent.)
Text UserAgentOf(const Text& block);
