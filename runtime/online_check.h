// The connectivity check of the main window: a command of the runtime's
// support library, called through CallLibraryCommand.
#pragma once
#include "runtime/library_command.h"

// The page the check opens: the home page of a widely reachable public web
// site, over plain HTTP.
inline constexpr char DefaultOnlineCheckUrl[] = "http://www.example.com/";

// Stores 1 in the result's value word when the machine reports a connection
// and the page opens, else 0 (the type word stays 0). Nothing of the page is
// read.
//
// For tests, an optional first argument (a text) names a page on a local
// server to open instead. Such a page is opened without asking the machine's
// connection state: the tests run where only loopback is up, and there the
// platform reports no connection (it wants a network with a gateway).
void OnlineCheck(TypedArg* result, int count, const TypedArg* arguments);
