// ResolveDirectLink: a Zorvo share link (and its password) in, the file's
// direct download link out. Fetches the share page, in the framed layout
// also the frame page, posts the signature token and action to the download
// endpoint, reads its JSON answer and asks the resulting link for its
// redirect target. Synchronous; three or four requests one after another.
#pragma once
#include "http/variable_ref.h"
#include "runtime/text.h"

// The service's main site: every relative path found in a page is joined to
// it. The window always uses this; tests and the command line may name
// another (for example a local double of the service).
inline constexpr char DefaultBaseSite[] = "https://www.zorvo.example";

struct ResolveOptions {
  const char* password = nullptr;  // omitted counts as empty; sent unencoded
  // Receivers, each written only at its own step and otherwise left as the
  // caller passed it.
  VariableRef<Text> fileName{};
  VariableRef<Text> fileSize{};
  VariableRef<Text> errorText{};  // failure reason or the action warning
  const char* baseSite = DefaultBaseSite;  // "https://" + host, no trailing "/"
};

// The direct link; null (the empty text) on every failure.
Text ResolveDirectLink(const char* shareLink, const ResolveOptions& options = {});
