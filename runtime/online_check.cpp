#include "runtime/online_check.h"

#include <wininet.h>

#include "runtime/internet_handle.h"

namespace {

bool PageOpens(const char* url) {
  InternetHandle internet(InternetOpenA("test", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!internet) return false;
  // Opened only to see that it opens: closed at once, before the session.
  InternetHandle page(InternetOpenUrlA(internet.get(), url, nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  return page != nullptr;
}

}  // namespace

void OnlineCheck(TypedArg* result, int count, const TypedArg* arguments) {
  bool online;
  if (count > 0 && arguments[0].type == ValueType::Text && arguments[0].Pointer<const char>()) {
    online = PageOpens(arguments[0].Pointer<const char>());
  } else {
    online = InternetGetConnectedState(nullptr, 0) && PageOpens(DefaultOnlineCheckUrl);
  }
  result->value = online ? 1 : 0;
}
