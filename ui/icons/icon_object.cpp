#include "ui/icons/icon_object.h"

#include <cstring>

namespace {

// ICO layout: a 6-byte header (reserved, resource type, entry count), then
// 16-byte directory entries whose last two 32-bit fields are the image's
// size and offset in the file. Little-endian, like the machine.
constexpr size_t kHeaderSize = 6;
constexpr size_t kEntrySize = 16;
constexpr WORD kIconType = 1;

template <typename Value>
Value ReadAt(std::span<const uint8_t> file, size_t offset) {
  Value value;
  std::memcpy(&value, file.data() + offset, sizeof value);
  return value;
}

// The image of entry `index`, empty when the header, the entry or the image
// lies outside the file.
std::span<const uint8_t> EntryImage(std::span<const uint8_t> file, int index) {
  if (file.size() < kHeaderSize || index < 0) return {};
  if (static_cast<size_t>(index) >= ReadAt<WORD>(file, 4)) return {};
  size_t entry = kHeaderSize + kEntrySize * static_cast<size_t>(index);
  if (entry + kEntrySize > file.size()) return {};
  uint64_t size = ReadAt<DWORD>(file, entry + 8);
  uint64_t offset = ReadAt<DWORD>(file, entry + 12);
  if (offset + size > file.size()) return {};
  return file.subspan(static_cast<size_t>(offset), static_cast<size_t>(size));
}

}  // namespace

bool IconObject::LoadIconFromBytes(std::span<const uint8_t> file, int index, int width, int height) {
  return Remake([&](HICON* icon) {
    std::span<const uint8_t> image = EntryImage(file, index);
    if (image.empty()) return false;
    BOOL isIcon = ReadAt<WORD>(file, 2) == kIconType;  // the file's resource type: 1 icon, 2 cursor
    *icon = CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()), isIcon,
                                     0x30000, width, height, 0);
    return *icon != nullptr;
  });
}
