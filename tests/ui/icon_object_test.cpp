#include <gtest/gtest.h>

#include <cstring>
#include <string>

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
    {48, 8, RGB(200, 0, 0)},    {32, 8, RGB(0, 200, 0)},    {16, 8, RGB(0, 0, 200)},
    {48, 32, RGB(200, 200, 0)}, {32, 32, RGB(0, 200, 200)}, {16, 32, RGB(200, 0, 200)},
};

template <typename Value>
void Append(std::string& out, Value value) {
  out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A DIB as ICO files hold it: header with doubled height, the pixels
// (palette index 1 at 8 bits), then an all-clear AND mask.
std::string IconDib(const IconImage& image) {
  std::string dib;
  Append(dib, BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), image.size, 2 * image.size, 1, image.bitsPerPixel, BI_RGB,
                               0, 0, 0, 0, 0});
  RGBQUAD colour{GetBValue(image.colour), GetGValue(image.colour), GetRValue(image.colour), 0xFF};
  size_t pixels = static_cast<size_t>(image.size * image.size);
  if (image.bitsPerPixel == 8) {
    Append(dib, RGBQUAD{});
    Append(dib, colour);
    dib.append(254 * sizeof(RGBQUAD), '\0');
    dib.append(pixels, '\1');  // rows of 16 to 48 bytes need no padding
  } else {
    for (size_t i = 0; i < pixels; ++i) Append(dib, colour);
  }
  return dib.append(static_cast<size_t>(4 * image.size), '\0');  // mask rows padded to 32 bits
}

std::string SixImageIco() {
  std::string file, images;
  for (WORD field : {0, 1, static_cast<int>(std::size(kImages))}) Append(file, field);
  for (const IconImage& image : kImages) {
    std::string dib = IconDib(image);
    Append(file, static_cast<WORD>(image.size * 0x101));  // width and height bytes
    for (WORD field : {WORD{0}, WORD{1}, image.bitsPerPixel}) Append(file, field);  // colours, planes, bits
    Append(file, static_cast<DWORD>(dib.size()));
    Append(file, static_cast<DWORD>(6 + 16 * std::size(kImages) + images.size()));
    images += dib;
  }
  return file + images;
}

// Width and centre colour of the icon's colour bitmap; 0 for no icon.
std::pair<int, COLORREF> WidthAndCentre(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return {0, 0};
  BITMAP bitmap{};
  GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, info.hbmColor);
  COLORREF centre = GetPixel(dc, bitmap.bmWidth / 2, bitmap.bmHeight / 2);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return {bitmap.bmWidth, centre};
}

// `data` copied to where readable memory ends, so that a read past its end
// faults. One region serves every call.
std::span<const uint8_t> AgainstGuardPage(const std::string& data) {
  constexpr size_t kReadable = 64 * 1024, kPage = 4096;
  static uint8_t* const base = [] {
    auto* memory = static_cast<uint8_t*>(VirtualAlloc(nullptr, kReadable + kPage, MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(memory + kReadable, kPage, PAGE_NOACCESS, &old);
    return memory;
  }();
  EXPECT_LE(data.size(), kReadable);
  uint8_t* start = base + kReadable - data.size();
  std::memcpy(start, data.data(), data.size());
  return {start, data.size()};
}

}  // namespace

TEST(LoadIconFromBytes, EveryEntryOfASixImageFile) {
  Bytes file = Bytes::Copy(SixImageIco());
  IconObject icon;
  for (int index = 0; index < static_cast<int>(std::size(kImages)); ++index) {
    ASSERT_TRUE(icon.LoadIconFromBytes(file, index)) << index;
    EXPECT_EQ(WidthAndCentre(icon.Native()), std::make_pair(kImages[index].size, kImages[index].colour)) << index;
  }
  // A size given scales the image; the icon held before is destroyed.
  HICON previous = icon.Native();
  ASSERT_TRUE(icon.LoadIconFromBytes(file, 0, 24, 24));
  EXPECT_EQ(WidthAndCentre(icon.Native()), std::make_pair(24, kImages[0].colour));
  EXPECT_EQ(WidthAndCentre(previous).first, 0);
}

TEST(LoadIconFromBytes, MalformedFilesGiveNoIconAndAreNotReadBeyondTheirEnd) {
  const std::string ico = SixImageIco();
  const size_t lastImage = ico.size() - IconDib(kImages[5]).size();
  auto withField = [&](int index, size_t field, DWORD value) {
    std::string copy = ico;
    std::memcpy(&copy[6 + 16 * index + field], &value, sizeof value);
    return copy;
  };
  const struct {
    const char* what;
    std::string data;
    int index;
  } rows[] = {
      {"no bytes", "", 0},
      {"a cut header", ico.substr(0, 5), 0},
      {"a header without its directory", ico.substr(0, 6), 0},
      {"an entry cut short", ico.substr(0, 6 + 15), 0},
      {"the index after the last entry", ico, 6},
      {"a negative index", ico, -1},
      {"an image beyond the end", withField(0, 12, static_cast<DWORD>(ico.size())), 0},
      {"an image one byte too long", withField(5, 8, static_cast<DWORD>(ico.size() - lastImage + 1)), 5},
      {"an offset that wraps around", withField(0, 12, 0xFFFFFFF0), 0},
      {"the last image cut short", ico.substr(0, ico.size() - 1), 5},
      {"an image cut after its header", withField(5, 8, 40).substr(0, lastImage + 40), 5},
  };
  IconObject icon;
  Bytes file = Bytes::Copy(ico);
  for (const auto& row : rows) {
    ASSERT_TRUE(icon.LoadIconFromBytes(file, 1));
    EXPECT_FALSE(icon.LoadIconFromBytes(AgainstGuardPage(row.data), row.index)) << row.what;
    EXPECT_EQ(icon.Native(), nullptr) << row.what;
  }
}
