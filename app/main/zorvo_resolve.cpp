// zorvo-resolve: the resolution pipeline as a console command, for scripts
// and batch use. See app/resolve_command.h for the usage.
#include <windows.h>

#include <string>
#include <vector>

#include "app/command_arguments.h"
#include "app/console_output.h"
#include "app/resolve_command.h"
#include "app/result_json.h"
#include "http/request_object_release.h"
#include "resolver/resolve_direct_link.h"
#include "runtime/com_scope.h"

namespace {

constexpr char kNoReason[] = "直链获取失败";

int Resolve(const ResolveCommand& command) {
  Text fileName, fileSize, errorText;
  ResolveOptions options{.password = command.password ? command.password->c_str() : nullptr,
                         .fileName = fileName,
                         .fileSize = fileSize,
                         .errorText = errorText};
  if (command.baseSite) options.baseSite = command.baseSite->c_str();
  Text link = ResolveDirectLink(command.shareLink.c_str(), options);

  // A failure always has a reason, in both modes.
  const std::string_view reason = link.empty() && errorText.empty() ? kNoReason : errorText.view();
  bool written = true;
  if (command.json) {
    std::string line = ResultJsonLine({link.view(), fileName.view(), fileSize.view(), reason});
    written = WriteBytes(STD_OUTPUT_HANDLE, line + "\n");
  } else if (!link.empty()) {
    written = WriteGbk(STD_OUTPUT_HANDLE, std::string(link.view()) + "\n");
  } else {
    WriteGbk(STD_ERROR_HANDLE, std::string(reason) + "\n");
  }
  // A result that did not reach its reader is no success.
  if (!written) {
    const DWORD error = GetLastError();
    WriteBytes(STD_ERROR_HANDLE,
               "zorvo-resolve: writing to standard output failed (error " + std::to_string(error) + ")\n");
    return 1;
  }
  return link.empty() ? 1 : 0;
}

}  // namespace

int main() {
  std::optional<ResolveCommand> command = ParseResolveCommand(CommandArguments());
  if (!command) {
    WriteBytes(STD_ERROR_HANDLE, ResolveUsage);
    return 2;
  }
  // The apartment outlives the resolution, so the request objects it kept
  // are released inside it, before COM goes (http/request_object_release).
  // The result is out by then: written straight to the handle, unbuffered.
  const ComScope com;
  const int code = Resolve(*command);
  ReleaseKeptRequestObjects();
  return code;
}
