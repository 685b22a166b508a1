// ui/icons: the icon object, a GDI object holding one icon handle that it
// frees with DestroyIcon, and its loading from an ICO file image.
#pragma once
#include <cstdint>
#include <span>

#include "runtime/bytes.h"
#include "ui/fonts/gdi_object.h"

class IconObject : public GdiHandleObject<HICON, &DestroyIcon> {
 public:
  // Makes an icon of directory entry `index` of the ICO file image `file`;
  // width and height 0 keep the image's own size. The icon held is freed
  // first. False, with no icon, when the image is not there: an index beyond
  // the directory, or an entry pointing outside the data.
  bool LoadIconFromBytes(std::span<const uint8_t> file, int index = 0, int width = 0, int height = 0);
  bool LoadIconFromBytes(const Bytes& file, int index = 0, int width = 0, int height = 0) {
    return LoadIconFromBytes(std::span(file.data(), file.size()), index, width, height);
  }
};
