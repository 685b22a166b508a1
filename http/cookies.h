// Cookie texts: items of the form name "=" value joined by "; ", as a Cookie
// request header carries them.
#pragma once
#include <span>

#include "runtime/text.h"

// The first name=value pair of every "Set-Cookie" line of a response header
// block (the name matched exactly), joined by "; "; attributes are dropped.
Text CollectResponseCookies(const char* headers);

// Received cookies win over sent ones of the same name and keep their places
// in front; cookies whose value is "deleted" and repeated items are dropped.
// Both variables are rewritten: `sent` ends up holding the merged text, and a
// copy of it is returned.
Text MergeCookies(Text& sent, Text& received);

// Trimmed text before the item's first "=", or the whole item trimmed.
Text CookieName(const char* item);
// Whether some item of the list has that cookie name.
bool HasCookieNamed(std::span<const char* const> items, const char* name);
