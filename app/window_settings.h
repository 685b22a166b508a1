// What the main window reaches on the network. The shipped zorvo-link.exe
// has no switches and always uses the defaults. The window's test build
// takes both from its command line, so that the tests can point the online
// check and the resolver at local servers:
//   zorvo-link-test [--online-check-url URL] [--base-site URL]
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "resolver/resolve_direct_link.h"

struct WindowSettings {
  // A local page for OnlineCheck to open, handed to it as its one argument;
  // none: OnlineCheck is called without arguments (the machine's connection
  // state and the public site).
  std::optional<std::string> onlineCheckUrl;  // GBK
  std::string baseSite = DefaultBaseSite;     // GBK; the resolver's base site
};

// Reads the test build's arguments after the program name (UTF-16,
// converted to GBK); nothing when they do not follow its usage.
std::optional<WindowSettings> ParseWindowTestArguments(const std::vector<std::wstring>& arguments);

// The settings the window's commands use: the defaults until the program
// sets its own at the start.
void UseWindowSettings(WindowSettings settings);
const WindowSettings& ActiveWindowSettings();
