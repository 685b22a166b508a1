// The command line of zorvo-resolve:
//   zorvo-resolve [--base-site URL] [--password TEXT] [--json] SHARE_LINK
#pragma once
#include <optional>
#include <string>
#include <vector>

struct ResolveCommand {
  std::optional<std::string> baseSite;  // GBK
  std::optional<std::string> password;  // GBK
  bool json = false;
  std::string shareLink;  // GBK
};

inline constexpr char ResolveUsage[] =
    "usage: zorvo-resolve [--base-site URL] [--password TEXT] [--json] SHARE_LINK\n"
    "Prints the direct download link of a Zorvo share; with --json one line of\n"
    "UTF-8 JSON {\"link\",\"fileName\",\"fileSize\",\"errorText\"}.\n"
    "Exit status: 0 resolved, 1 not resolved or not written, 2 wrong usage.\n";

// Reads the arguments after the program name (UTF-16, converted to GBK);
// nothing when they do not follow the usage.
std::optional<ResolveCommand> ParseResolveCommand(const std::vector<std::wstring>& arguments);
