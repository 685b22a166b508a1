#include "app/resolve_command.h"

#include "runtime/codepage.h"

namespace {

// 1 to kMaxBatchJobs in decimal digits; nothing otherwise.
std::optional<int> JobCount(const std::wstring& text) {
  if (text.empty() || text.size() > 2) return std::nullopt;
  int count = 0;
  for (wchar_t digit : text) {
    if (digit < L'0' || digit > L'9') return std::nullopt;
    count = count * 10 + (digit - L'0');
  }
  if (count < 1 || count > kMaxBatchJobs) return std::nullopt;
  return count;
}

}  // namespace

std::optional<ResolveCommand> ParseResolveCommand(const std::vector<std::wstring>& arguments) {
  ResolveCommand command;
  std::optional<std::string> shareLink;
  bool optionsEnded = false;
  bool jobsGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::wstring& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    bool isOption = !optionsEnded && argument.size() > 1 && argument[0] == L'-';
    if (!isOption) {
      if (shareLink) return std::nullopt;  // exactly one share link
      shareLink = WideToGbk(argument);
    } else if (argument == L"--") {
      optionsEnded = true;
    } else if (argument == L"--json") {
      command.json = true;
    } else if ((argument == L"--base-site" || argument == L"--password") && hasValue) {
      (argument == L"--password" ? command.password : command.baseSite) = WideToGbk(arguments[++i]);
    } else if (argument == L"--batch" && hasValue) {
      command.batchFile = arguments[++i];
    } else if (argument == L"--jobs" && hasValue) {
      std::optional<int> jobs = JobCount(arguments[++i]);
      if (!jobs) return std::nullopt;
      command.jobs = *jobs;
      jobsGiven = true;
    } else {
      return std::nullopt;
    }
  }
  // A batch takes its shares and passwords from its file, and is JSON anyway.
  if (command.batchFile) {
    if (shareLink || command.password || command.json) return std::nullopt;
    return command;
  }
  if (!shareLink || jobsGiven) return std::nullopt;
  command.shareLink = *shareLink;
  return command;
}
