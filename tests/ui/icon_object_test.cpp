#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/icons/icon_object.h"

namespace {

struct IconImage {
  int size;
  WORD bitsPerPixel;
  COLORREF colour;
};

// The application's layout: 48, 32 and 16 pixels at 256 colours, then the
// same at 32 bits; every image is one colour of its own.
const IconImage kImages[] = {
    {48, 8, RGB(200, 0, 0)},  {32, 8, RGB(0, 200, 0)},  {16, 8, RGB(0, 0, 200)},
    {48, 32, RGB(200, 200, 0)}, {32, 32, RGB(0, 200, 200)}, {16, 32, RGB(200, 0, 200)},
};

template <typename Value>
void Append(std::string& out, Value value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A DIB as ICO files hold it: header with doubled height, colours (palette
// index 1 at 8 bits), then an all-clear AND mask.
std::string IconDib(const IconImage& image) {
  std::string dib;
  BITMAPINFOHEADER header{sizeof header, image.size, 2 * image.size, 1, image.bitsPerPixel, BI_RGB, 0, 0, 0, 0, 0};
  Append(dib, header);
  RGBQUAD colour{GetBValue(image.colour), GetGValue(image.colour), GetRValue(image.colour), 0};
  if (image.bitsPerPixel == 8) {
    for (int i = 0; i < 256; ++i) Append(dib, i == 1 ? colour : RGBQUAD{});
    dib.append(static_cast<size_t>(image.size * image.size), '\1');  // rows of 16 to 48 bytes need no padding
  } else {
    colour.rgbReserved = 0xFF;
    for (int i = 0; i < image.size * image.size; ++i) Append(dib, colour);
  }
  dib.append(static_cast<size_t>(4 * image.size), '\0');  // mask rows padded to 32 bits
  return dib;
}

std::string SixImageIco() {
  std::string header, images;
  Append<WORD>(header, 0);
  Append<WORD>(header, 1);
  Append<WORD>(header, static_cast<WORD>(std::size(kImages)));
  size_t offset = 6 + 16 * std::size(kImages);
  for (const IconImage& image : kImages) {
    std::string dib = IconDib(image);
    Append<BYTE>(header, static_cast<BYTE>(image.size));
    Append<BYTE>(header, static_cast<BYTE>(image.size));
    Append<WORD>(header, 0);  // colour count 0 (256 or more), reserved
    Append<WORD>(header, 1);
    Append<WORD>(header, image.bitsPerPixel);
    Append<DWORD>(header, static_cast<DWORD>(dib.size()));
    Append<DWORD>(header, static_cast<DWORD>(offset + images.size()));
    images += dib;
  }
  return header + images;
}

// The colour and width of the icon drawn at its own size on white.
std::pair<COLORREF, int> DrawnCentreAndWidth(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {CLR_INVALID, 0};
  BITMAP bitmap{};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  HDC dc = CreateCompatibleDC(nullptr);
  BITMAPINFO format{{sizeof(BITMAPINFOHEADER), 64, 64, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
  void* bits = nullptr;
  HBITMAP target = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);
  PatBlt(dc, 0, 0, 64, 64, WHITENESS);
  DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  COLORREF centre = GetPixel(dc, bitmap.bmWidth / 2, bitmap.bmWidth / 2);
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
  return {centre, bitmap.bmWidth};
}

// A copy of `data` that ends where readable memory ends: a read past its
// end faults instead of passing unnoticed.
class GuardedCopy {
 public:
  explicit GuardedCopy(const std::string& data) {
    const size_t page = 4096, readable = (data.size() + page - 1) / page * page + page;
    base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(base_ + readable, page, PAGE_NOACCESS, &old);
    uint8_t* start = base_ + readable - data.size();
    std::memcpy(start, data.data(), data.size());
    view_ = {start, data.size()};
  }
  GuardedCopy(const GuardedCopy&) = delete;
  GuardedCopy& operator=(const GuardedCopy&) = delete;
  ~GuardedCopy() { VirtualFree(base_, 0, MEM_RELEASE); }

  std::span<const uint8_t> view() const { return view_; }

 private:
  uint8_t* base_;
  std::span<const uint8_t> view_;
};

void Put(std::string& data, size_t offset, DWORD value) { std::memcpy(&data[offset], &value, sizeof value); }

}  // namespace

TEST(LoadIconFromBytes, EveryEntryOfASixImageFile) {
  const std::string ico = SixImageIco();
  Bytes bytes = Bytes::Copy(ico);
  IconObject icon;
  for (int index = 0; index < static_cast<int>(std::size(kImages)); ++index) {
    SCOPED_TRACE(index);
    ASSERT_TRUE(icon.LoadIconFromBytes(bytes, index));
    auto [colour, width] = DrawnCentreAndWidth(icon.Native());
    EXPECT_EQ(colour, kImages[index].colour);
    EXPECT_EQ(width, kImages[index].size);
  }
  // A size given scales the image; the icon held before is destroyed.
  HICON previous = icon.Native();
  ASSERT_TRUE(icon.LoadIconFromBytes(bytes, 0, 24, 24));
  EXPECT_EQ(DrawnCentreAndWidth(icon.Native()), std::make_pair(kImages[0].colour, 24));
  ICONINFO info;
  EXPECT_FALSE(GetIconInfo(previous, &info));
}

TEST(LoadIconFromBytes, MalformedFilesGiveNoIconAndAreNotReadBeyondTheirEnd) {
  const std::string ico = SixImageIco();
  const size_t firstEntry = 6, lastImage = ico.size() - IconDib(kImages[5]).size();
  auto withField = [&](size_t offset, DWORD value) {
    std::string copy = ico;
    Put(copy, offset, value);
    return copy;
  };
  struct Row {
    const char* what;
    std::string data;
    int index;
  };
  const Row rows[] = {
      {"no bytes", "", 0},
      {"a cut header", ico.substr(0, 5), 0},
      {"a header without its directory", ico.substr(0, 6), 0},
      {"a directory cut inside the entry", ico.substr(0, 6 + 15), 0},
      {"the index after the last entry", ico, 6},
      {"a negative index", ico, -1},
      {"an image beyond the end", withField(firstEntry + 12, static_cast<DWORD>(ico.size())), 0},
      {"an image one byte too long", withField(firstEntry + 5 * 16 + 8, static_cast<DWORD>(ico.size() - lastImage + 1)),
       5},
      {"an offset that wraps around", withField(firstEntry + 12, 0xFFFFFFF0), 0},
      {"the last image cut short", ico.substr(0, ico.size() - 1), 5},
      {"an image cut after its header", withField(firstEntry + 5 * 16 + 8, 40).substr(0, lastImage + 40), 5},
  };
  IconObject icon;
  Bytes bytes = Bytes::Copy(ico);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    ASSERT_TRUE(icon.LoadIconFromBytes(bytes, 1));
    GuardedCopy data(row.data);
    EXPECT_FALSE(icon.LoadIconFromBytes(data.view(), row.index));
    EXPECT_EQ(icon.Native(), nullptr);
  }
}
