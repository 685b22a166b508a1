#include "xml/xml_code_page.h"

#include <string>

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

// Plain case-sensitive byte searches. The search for "encoding" is not bound
// to the declaration: it starts there and may run into the document.
UINT DetectXmlCodePage(std::string_view bytes) {
  size_t declaration = bytes.find("<?xml");
  if (declaration == bytes.npos || bytes.find("?>", declaration) == bytes.npos) return kUndeclaredCodePage;
  size_t encoding = bytes.find("encoding", declaration);
  size_t equals = encoding == bytes.npos ? bytes.npos : bytes.find('=', encoding + 8);
  size_t open = equals == bytes.npos ? bytes.npos : bytes.find('"', equals + 1);
  size_t close = open == bytes.npos ? bytes.npos : bytes.find('"', open + 1);
  if (close == bytes.npos) return kUndeclaredCodePage;
  return CodePageFromName(std::string(bytes.substr(open + 1, close - open - 1)).c_str());
}

UINT CodePageFromName(const char* name) {
  for (const NamedCodePage& entry : kCodePages) {
    if (lstrcmpiA(name, entry.name) == 0) return entry.codePage;
  }
  return CP_UTF8;
}
