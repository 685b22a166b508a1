#include "xml/xml_text.h"

#include <algorithm>
#include <cwchar>

#include "runtime/late_bound.h"

namespace {

struct Entity {
  std::wstring_view reference;
  wchar_t character;
};

constexpr Entity kEntities[] = {
    {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&amp;", L'&'}, {L"&apos;", L'\''}, {L"&quot;", L'"'},
};

// The entity whose reference starts at `text` (which holds a "&"), if any.
const Entity* EntityAt(const wchar_t* text) {
  for (const Entity& entity : kEntities) {
    if (std::wcsncmp(text, entity.reference.data(), entity.reference.size()) == 0) return &entity;
  }
  return nullptr;
}

}  // namespace

// One pass: the decoded text is written behind the point of reading, so a
// produced character is never read again.
void DecodeEntities(wchar_t* text) {
  const wchar_t* read = LateStrStrW(text, L"&");
  if (!read) return;
  wchar_t* write = text + (read - text);
  while (read) {
    if (const Entity* entity = EntityAt(read)) {
      *write++ = entity->character;
      read += entity->reference.size();
    } else {
      *write++ = *read++;
    }
    const wchar_t* ampersand = LateStrStrW(read, L"&");
    size_t plain = ampersand ? ampersand - read : std::wcslen(read);
    std::wmemmove(write, read, plain);
    write += plain;
    read = ampersand;
  }
  std::fill(write, write + std::wcslen(write), L'\0');  // up to the old terminator
}

bool HasVisibleChar(std::wstring_view units) {
  return std::any_of(units.begin(), units.end(), [](wchar_t unit) { return unit > 32; });
}
