#include "runtime/clipboard.h"

#include <windows.h>

#include <cstring>

#include "runtime/text.h"

namespace {

constexpr LCID kTextLocale = 2052;  // its ANSI code page is the one of our texts

// Hands a movable, zero-filled global copy of the bytes to the open
// clipboard. A block the clipboard refuses is still ours and is freed.
bool Place(UINT format, const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
  if (!block) return false;
  std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

}  // namespace

bool SetClipboardText(const char* text) {
  if (!text || !OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool placed = Place(CF_TEXT, text, TextLength(text) + 1);
  // Without a locale the platform would read CF_TEXT in the machine's ANSI
  // code page when it offers the text as Unicode; ours is always GBK.
  LCID locale = kTextLocale;
  if (placed) Place(CF_LOCALE, &locale, sizeof locale);
  CloseClipboard();
  return placed;
}
