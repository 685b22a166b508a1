#include "app/get_link_run.h"

#include <utility>

#include "resolver/resolve_direct_link.h"
#include "runtime/com_scope.h"
#include "runtime/online_check.h"

namespace {

// Everything the worker touches, handed over whole at its start.
struct Run {
  HWND window;
  UINT message;
  GetLinkInputs inputs;
};

// OnlineCheck through the library gateway; the test build hands it a local
// page to open.
bool Online(const WindowSettings& settings) {
  const std::optional<std::string>& page = settings.onlineCheckUrl;
  const TypedArg argument = page ? TypedArg::OfText(page->c_str()) : TypedArg::Absent();
  return CallLibraryCommand(OnlineCheck, page ? 1 : 0, &argument).value != 0;
}

// The command's checks in their order, then the resolution; the link and
// password go to the resolver exactly as typed.
GetLinkOutcome Perform(const GetLinkInputs& inputs) {
  using End = GetLinkOutcome::End;
  if (!Online(inputs.settings)) return {.end = End::kOffline};
  if (inputs.link.empty()) return {.end = End::kNoLink};
  GetLinkOutcome outcome{.end = End::kResolved, .passwordGiven = inputs.password.empty() ? 0 : 1};
  // Receivers the window passes and never reads: it shows only the link.
  Text fileName, fileSize, errorText;
  const ResolveOptions options{.password = outcome.passwordGiven ? inputs.password.c_str() : nullptr,
                               .fileName = fileName,
                               .fileSize = fileSize,
                               .errorText = errorText,
                               .baseSite = inputs.settings.baseSite.c_str()};
  outcome.link = ResolveDirectLink(inputs.link.c_str(), options);
  return outcome;
}

DWORD WINAPI RunMain(void* parameter) {
  const std::unique_ptr<Run> run(static_cast<Run*>(parameter));
  std::unique_ptr<GetLinkOutcome> outcome;
  {
    const ComScope apartment;
    outcome = std::make_unique<GetLinkOutcome>(Perform(run->inputs));
  }
  // The last step, after the apartment has closed. An outcome posted to a
  // window that then closes stays unread until the process ends, moments later.
  if (PostMessageW(run->window, run->message, 0, reinterpret_cast<LPARAM>(outcome.get()))) outcome.release();
  return 0;
}

}  // namespace

bool StartGetLinkRun(HWND window, UINT message, GetLinkInputs inputs) {
  auto run = std::make_unique<Run>(Run{window, message, std::move(inputs)});
  HANDLE thread = CreateThread(nullptr, 0, RunMain, run.get(), 0, nullptr);
  if (!thread) return false;
  run.release();  // the worker's now
  CloseHandle(thread);
  return true;
}

std::unique_ptr<GetLinkOutcome> TakeGetLinkOutcome(LPARAM lParam) {
  return std::unique_ptr<GetLinkOutcome>(reinterpret_cast<GetLinkOutcome*>(lParam));
}
