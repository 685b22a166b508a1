// Splitting a URL into the host, port and object name that WinINet takes.
// A URL without scheme is taken as plain HTTP.
#pragma once
#include "runtime/text.h"

// Lower-cased host; with keepPort, followed by ":" and the port when the URL names one.
Text HostOf(const char* url, bool keepPort = false);
// The named port, else 443 for an https URL and 80 otherwise.
int PortOf(const char* url);
// Path with query and fragment; "/" when the URL has no path.
Text PathOf(const char* url);
