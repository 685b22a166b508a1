// Launcher and client of tools/zorvo_double.py, the local double of the
// Zorvo share service. Which shares it holds and what resolving each one
// yields come from the double's own catalogue, so tests assert exact values
// without restating them.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/local_server.h"

// One share of the double and what resolving it yields. Texts are GBK, as
// the resolver gives them.
struct ZorvoShare {
  std::string id;
  std::string url;       // the share link to resolve
  std::string password;  // the password to give with it (empty: none)
  std::string layout;    // "framed" or "inline"
  std::string link;      // the direct link; empty when the resolution yields none
  // The out-values; nothing where the run leaves the caller's value (for
  // out-values that start empty).
  std::optional<std::string> fileName{};
  std::optional<std::string> fileSize{};
  std::optional<std::string> errorText{};
};

// Where a resolution of a fault share ("fault-<stage>-<mode>") starts, and
// the link a probe that gets the download host's headers yields.
struct ZorvoFault {
  std::string url;       // the share link
  std::string baseSite;  // the base site to resolve it against
  std::string link;
};

class ZorvoDouble : public LocalServer {
 public:
  // Starts the double and waits until it is ready.
  ZorvoDouble() : LocalServer("zorvo_double.py") {}

  // One double shared by all tests of the executable, started on first use.
  static ZorvoDouble& Shared();

  // The resolver's base site for the double: "https://localhost:<https port>".
  // The resolver's probe checks the certificate (CertificatePath()).
  std::string BaseSite() const;
  std::vector<std::string> ShareIds() const;
  // The share for a resolver that uses `baseSite` (default: BaseSite());
  // nothing for an unknown id.
  std::optional<ZorvoShare> Share(std::string_view id, std::string_view baseSite = {}) const;
  // The requests that resolve a framed share, one a line: method, URL and
  // (for the POST) the body, tab-separated.
  std::string Exchanges(std::string_view id, std::string_view baseSite = {}) const;
  // Delays every later answer by `ms` (0: none), as a distant service would.
  bool SetLatency(int ms) const;
  // Nothing for an unknown fault share.
  std::optional<ZorvoFault> Fault(std::string_view id) const;
};
