#include "app/resolve_command.h"

#include "runtime/codepage.h"

std::optional<ResolveCommand> ParseResolveCommand(const std::vector<std::wstring>& arguments) {
  ResolveCommand command;
  std::optional<std::string> shareLink;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == L'-';
    if (!isOption) {
      if (shareLink) return std::nullopt;  // exactly one share link
      shareLink = WideToGbk(argument);
    } else if (argument == L"--") {
      optionsEnded = true;
    } else if (argument == L"--json") {
      command.json = true;
    } else if ((argument == L"--base-site" || argument == L"--password") && i + 1 < arguments.size()) {
      (argument == L"--password" ? command.password : command.baseSite) = WideToGbk(arguments[++i]);
    } else {
      return std::nullopt;
    }
  }
  if (!shareLink) return std::nullopt;
  command.shareLink = *shareLink;
  return command;
}
