// The get-link command: the connection and the link are checked first, in
// that order; the link and password go to the resolver exactly as typed.
#include "app/main_window_commands.h"
#include "app/program_objects.h"
#include "app/window_settings.h"
#include "resolver/resolve_direct_link.h"
#include "runtime/clipboard.h"
#include "runtime/online_check.h"

Text resolvedLink;
int passwordGiven = 0;

namespace {

// OnlineCheck through the library gateway; the test build hands it a local
// page to open.
bool Online() {
  const std::optional<std::string>& page = ActiveWindowSettings().onlineCheckUrl;
  const TypedArg argument = page ? TypedArg::OfText(page->c_str()) : TypedArg::Absent();
  return CallLibraryCommand(OnlineCheck, page ? 1 : 0, &argument).value != 0;
}

void Resolve() {
  const Text link = linkEdit->EditText();
  const Text password = passwordGiven ? passwordEdit->EditText() : Text();
  // Receivers the window passes and never reads: it shows only the link.
  Text fileName, fileSize, errorText;
  const ResolveOptions options{.password = passwordGiven ? password.c_str() : nullptr,
                               .fileName = fileName,
                               .fileSize = fileSize,
                               .errorText = errorText,
                               .baseSite = ActiveWindowSettings().baseSite.c_str()};
  resolvedLink = ResolveDirectLink(link.c_str(), options);
}

}  // namespace

INT_PTR CALLBACK OnGetLinkClick(HWND, INT_PTR) {
  if (!Online()) {
    Tell("当前未连接互联网,请检查网络连接", MessageStyle::kError, "错误");
    return 0;
  }
  if (linkEdit->EditText().empty()) {
    Tell("必须键入Zorvo外链", MessageStyle::kError, "错误");
    return 0;
  }
  passwordGiven = passwordEdit->EditText().empty() ? 0 : 1;
  Resolve();
  if (resolvedLink.empty()) {
    Tell("直链获取失败", MessageStyle::kError, "提示");
    return 0;
  }
  resultEdit->EditText(resolvedLink.c_str());
  // A link that did not reach the clipboard is not reported as copied.
  if (SetClipboardText(resolvedLink.c_str())) {
    Tell("直链获取成功!\r\n已将直链复制到剪贴板", MessageStyle::kInformation, "提示");
  } else {
    Tell("直链获取成功!\r\n复制到剪贴板失败,请手动复制", MessageStyle::kInformation, "提示");
  }
  return 0;
}
