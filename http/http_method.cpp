#include "http/http_method.h"

namespace {
constexpr const char* kVerbs[] = {"GET", "POST", "HEAD", "PUT", "OPTIONS", "DELETE", "TRACE", "CONNECT"};
constexpr int32_t kVerbCount = sizeof(kVerbs) / sizeof(kVerbs[0]);
}  // namespace

HttpMethod HttpMethodOf(int32_t index) {
  return index >= 0 && index < kVerbCount ? static_cast<HttpMethod>(index) : HttpMethod::Get;
}

const char* HttpVerb(HttpMethod method) {
  return kVerbs[static_cast<int32_t>(HttpMethodOf(static_cast<int32_t>(method)))];
}
