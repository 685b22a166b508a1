// Splitting a URL into the host, port and object name that WinINet takes.
// A URL without scheme is taken as plain HTTP.
#pragma once
#include <string_view>

#include "runtime/text.h"

// Lower-cased host; with keepPort, followed by ":" and the port when the URL names one.
Text HostOf(const char* url, bool keepPort = false);
// The named port, else 443 for an https URL and 80 otherwise.
int PortOf(const char* url);
// False when the URL names port 0, a negative port or one beyond 65535:
// request components take those as the scheme's default port or cut them to
// 16 bits, and so would reach another server.
bool NamesUsablePort(const char* url);
// Whether the text holds a control character (a byte below 0x20, or DEL).
bool HoldsControlCharacters(std::string_view text);
// Whether a request may be sent for the URL: it names a usable port and
// holds no control character (a CR LF in it would add lines to the request).
bool IsSendableUrl(const char* url);
// Path with query and fragment; "/" when the URL has no path.
Text PathOf(const char* url);
