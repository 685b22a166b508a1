#include "xml/xml_document.h"

#include <climits>
#include <memory>
#include <new>

#include "runtime/codepage.h"
#include "runtime/text.h"
#include "xml/xml_code_page.h"
#include "xml/xml_reader.h"

namespace {

struct HeapDestroyer {
  void operator()(HANDLE heap) const noexcept { HeapDestroy(heap); }
};
using PrivateHeap = std::unique_ptr<void, HeapDestroyer>;

constexpr UINT kGb18030 = 54936;

// Wine has no code page 54936 (Windows has): there GBK, the one- and
// two-byte part of GB18030, stands in, so only four-byte sequences are lost.
// Asked once: Wine looks for the code page's table file at every asking.
UINT ConversionCodePage(UINT codePage) {
  static const bool hasGb18030 = IsValidCodePage(kGb18030);
  return codePage == kGb18030 && !hasGb18030 ? kTextCodePage : codePage;
}

}  // namespace

XmlRef<XmlDocument> CreateXmlDocument() {
  PrivateHeap heap(HeapCreate(0, 0, 0));
  if (!heap) return {};
  void* block = HeapAlloc(heap.get(), 0, sizeof(XmlDocument));
  if (!block) return {};
  return XmlRef<XmlDocument>::Adopt(new (block) XmlDocument(heap.release()));
}

int LoadXmlText(XmlDocument* document, const char* text) {
  if (!document) return kXmlNoDocument;
  document->ClearChildren();
  std::string_view bytes = TextView(text);
  document->codePage = DetectXmlCodePage(bytes);
  // The conversion counts in int: a longer text cannot be converted.
  if (bytes.size() >= INT_MAX) return kXmlRead;
  // With its terminator; no code page makes more UTF-16 units than bytes.
  int room = static_cast<int>(bytes.size() + 1);
  // No room for the UTF-16 copy is a failed conversion: an empty document.
  std::unique_ptr<wchar_t[]> wide(new (std::nothrow) wchar_t[room]);
  if (!wide) return kXmlRead;
  int converted = MultiByteToWideChar(ConversionCodePage(document->codePage), 0, bytes.data(), room, wide.get(), room);
  if (converted == 0) return kXmlRead;
  return ParseXmlWide(document, std::wstring_view(wide.get(), converted - 1), false);
}
