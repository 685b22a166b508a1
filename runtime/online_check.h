// The connectivity check of the main window: a command of the runtime's
// support library, called through CallLibraryCommand.
#pragma once
#include <cstdint>

#include "runtime/library_command.h"

// The page the check opens: the home page of a widely reachable public web
// site, over plain HTTP.
inline constexpr char DefaultOnlineCheckUrl[] = "http://www.example.com/";

// How long the page may take to open. A home page that has not answered in
// 30 s is as good as none: the check counts it as no connection instead of
// keeping the user waiting for a server that may never answer (under Wine
// no time-out of WinINet's own applies).
inline constexpr uint32_t kOnlineCheckDeadlineMs = 30000;

// Stores 1 in the result's value word when the machine reports a connection
// and the page opens within kOnlineCheckDeadlineMs, else 0 (the type word
// stays 0). Nothing of the page is read.
//
// For tests, an optional first argument (a text) names a page on a local
// server to open instead. Such a page is opened without asking the machine's
// connection state: the tests run where only loopback is up, and there the
// platform reports no connection (it wants a network with a gateway).
void OnlineCheck(TypedArg* result, int count, const TypedArg* arguments);
