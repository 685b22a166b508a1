// Finding where a link redirects to without following it.
#pragma once
#include <string_view>

#include "runtime/text.h"

// Sends one GET for the link with redirects switched off and returns the
// response's "Location" value exactly as the server sent it (relative or
// absolute, not resolved against the link), as soon as the answer's headers
// are in. Null when there is none: no redirect, a bad link, an unreachable
// host, or a server slower than the time-outs (5 s to resolve, to connect and
// to receive, 10 s to send) or than their sum for the whole exchange.
Text ProbeRedirect(std::string_view link);
