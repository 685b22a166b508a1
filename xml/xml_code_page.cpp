#include "xml/xml_code_page.h"

#include <string>

#include "runtime/late_bound.h"

namespace {

constexpr UINT kUndeclaredCodePage = 936;

struct NamedCodePage {
  const char* name;
  UINT codePage;
};

constexpr NamedCodePage kCodePages[] = {
    {"utf-8", 65001},    {"gb2312", 936}, {"gb18030", 54936},     {"ISO-8859-1", 28591},
    {"utf-16", 1200}, {"unicodeFFFE", 1201},
};

}  // namespace

// The search for "encoding" is not bound to the declaration: it starts there
// and may run into the document.
UINT DetectXmlCodePage(const char* text) {
  const char* declaration = LateStrStrA(text, "<?xml");
  if (!declaration || !LateStrStrA(declaration, "?>")) return kUndeclaredCodePage;
  const char* encoding = LateStrStrA(declaration, "encoding");
  const char* equals = encoding ? LateStrStrA(encoding + 8, "=") : nullptr;
  const char* open = equals ? LateStrStrA(equals + 1, "\"") : nullptr;
  const char* close = open ? LateStrStrA(open + 1, "\"") : nullptr;
  if (!close) return kUndeclaredCodePage;
  return CodePageFromName(std::string(open + 1, close).c_str());
}

UINT CodePageFromName(const char* name) {
  for (const NamedCodePage& entry : kCodePages) {
    if (lstrcmpiA(name, entry.name) == 0) return entry.codePage;
  }
  return CP_UTF8;
}
