// The command line of zorvo-resolve:
//   zorvo-resolve [--base-site URL] [--password TEXT] [--json] SHARE_LINK
//   zorvo-resolve [--base-site URL] --batch FILE [--jobs N]
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "app/batch_run.h"

struct ResolveCommand {
  std::optional<std::string> baseSite;  // GBK
  std::optional<std::string> password;  // GBK
  bool json = false;
  std::string shareLink;  // GBK
  // Batch mode: the file ("-": standard input) and the resolutions in flight.
  std::optional<std::wstring> batchFile;
  int jobs = kDefaultBatchJobs;
};

inline constexpr char ResolveUsage[] =
    "usage: zorvo-resolve [--base-site URL] [--password TEXT] [--json] SHARE_LINK\n"
    "       zorvo-resolve [--base-site URL] --batch FILE [--jobs N]\n"
    "Prints the direct download link of a Zorvo share; with --json one line of\n"
    "UTF-8 JSON {\"link\",\"fileName\",\"fileSize\",\"errorText\"}.\n"
    "--batch resolves the shares listed in FILE (UTF-8, one a line: the link,\n"
    "optionally a TAB and the password; \"-\" reads standard input), N at once\n"
    "(1 to 16, default 4), and prints one JSON line per share in the file's\n"
    "order, with \"line\" and \"shareLink\" first.\n"
    "Exit status: 0 resolved (every share), 1 not resolved (any share) or not\n"
    "written, 2 wrong usage or a batch file that cannot be read.\n";

// Reads the arguments after the program name (UTF-16, converted to GBK);
// nothing when they do not follow the usage.
std::optional<ResolveCommand> ParseResolveCommand(const std::vector<std::wstring>& arguments);
