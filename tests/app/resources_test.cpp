// The resources of zorvo-link.exe and its embedded icon file. The resource
// object is linked into this test program, so its own module holds them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <vector>

#include "app/app_icon.h"
#include "runtime/bytes.h"

namespace {

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

std::string_view Resource(LPCSTR type, LPCSTR name, WORD language = 0) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceExA(module, type, name, language);
  if (!found) return {};
  return {static_cast<const char*>(LockResource(LoadResource(module, found))), SizeofResource(module, found)};
}

// Reads the little-endian fields of a resource in order. A text field is a
// name, or an ordinal (0xFFFF, then the number) read as "#n".
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  template <typename T>
  T Read() {
    T value{};
    if constexpr (std::is_same_v<T, std::wstring>) {
      if (Read<WORD>() == 0xFFFF) return L"#" + std::to_wstring(Read<WORD>());
      at_ -= sizeof(WORD);
      for (wchar_t c; at_ < bytes_.size() && (c = Read<wchar_t>()) != 0;) value += c;
    } else {
      if (at_ + sizeof(T) <= bytes_.size()) std::memcpy(&value, bytes_.data() + at_, sizeof(T));
      at_ += sizeof(T);
    }
    return value;
  }
  // The fields of a tuple type, in order.
  template <typename Tuple>
  Tuple Fields() {
    return FieldsOf(static_cast<Tuple*>(nullptr));
  }
  void AlignTo4() { at_ = (at_ + 3) & ~size_t{3}; }

 private:
  template <typename... T>
  std::tuple<T...> FieldsOf(std::tuple<T...>*) {
    return {Read<T>()...};  // a braced list is read left to right
  }
  std::string_view bytes_;
  size_t at_ = 0;
};

// An icon directory entry: width, height, colour count (0: 256 and more),
// reserved, planes, bits per pixel, bytes.
using IconEntry = std::tuple<BYTE, BYTE, BYTE, BYTE, WORD, WORD, DWORD>;

}  // namespace

TEST(Resources, MainDialogTemplate) {
  Reader dialog(Resource(RT_DIALOG, MAKEINTRESOURCEA(1), kChinese));
  // Extended template: version, signature, help id, extended style, style,
  // items, left, top, width, height, menu, class, title; font: points,
  // weight, italic, character set, face.
  using Header = std::tuple<WORD, WORD, DWORD, DWORD, DWORD, WORD, short, short, short, short, std::wstring,
                            std::wstring, std::wstring, WORD, WORD, BYTE, BYTE, std::wstring>;
  EXPECT_EQ(dialog.Fields<Header>(), Header(1, 0xFFFF, 0, 0, 0x90C808C0, 6, 0, 0, 232, 158, L"", L"",
                                            L"Zorvo云直链获取 V1.0 by Quenlit", 9, 0, 0, 0, L"Segoe UI"));
  // Help id, extended style, style, left, top, width, height, id, class
  // (#128 button, #129 edit, #130 static), text, creation data size.
  using Item = std::tuple<DWORD, DWORD, DWORD, short, short, short, short, int, std::wstring, std::wstring, WORD>;
  const Item expected[] = {
      {0, 0, 0x50000007, 8, 2, 216, 59, -1, L"#128", L"Zorvo外链", 0},
      {0, 0, 0x50020000, 16, 46, 35, 8, -1, L"#130", L"密码(可空):", 0},
      {0, 0, 0x50810080, 52, 45, 42, 12, 1001, L"#129", L"", 0},
      {0, 0, 0x50000007, 8, 63, 216, 72, -1, L"#128", L"Zorvo直链", 0},
      {0, 0, 0x50010000, 15, 137, 99, 15, 1003, L"#128", L"一键获取", 0},
      {0, 0, 0x50010000, 117, 137, 99, 15, 1004, L"#128", L"复制直链", 0},
  };
  for (const Item& item : expected) {
    dialog.AlignTo4();
    EXPECT_EQ(dialog.Fields<Item>(), item);
  }
}

TEST(Resources, IconFileAndIconGroup) {
  std::string_view file = Bytes::ViewOf(AppIconFile);
  ASSERT_EQ(file.size(), 22486u);
  Reader header(file);
  using Directory = std::tuple<WORD, WORD, WORD>;  // reserved, type (icon), images
  EXPECT_EQ(header.Fields<Directory>(), Directory(0, 1, 6));
  std::string_view group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(129), kChinese);
  ASSERT_EQ(group.size(), 6u + 6 * 14) << "icon group 129 with six entries";
  Reader groupEntries(group.substr(6));

  const IconEntry expected[] = {{48, 48, 0, 0, 1, 8, 3752},  {32, 32, 0, 0, 1, 8, 2216},  {16, 16, 0, 0, 1, 8, 1384},
                                {48, 48, 0, 0, 1, 32, 9640}, {32, 32, 0, 0, 1, 32, 4264}, {16, 16, 0, 0, 1, 32, 1128}};
  DWORD offset = 6 + 16 * 6;
  for (const IconEntry& entry : expected) {
    auto [size, height, colours, reserved, planes, bits, bytes] = entry;
    SCOPED_TRACE(testing::Message() << int(size) << " px, " << bits << " bpp");
    EXPECT_EQ(header.Fields<IconEntry>(), entry);
    EXPECT_EQ(header.Read<DWORD>(), offset);
    std::string_view image = file.substr(offset, bytes);
    offset += bytes;

    HICON icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(const_cast<char*>(image.data())), bytes, TRUE,
                                          0x30000, size, height, 0);
    ICONINFO info{};
    BITMAP colour{};
    ASSERT_TRUE(icon && GetIconInfo(icon, &info)) << "the image does not load";
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(std::make_pair(colour.bmWidth, colour.bmHeight), std::make_pair(LONG{size}, LONG{height}));
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    // The group's entry is the same and names an icon resource holding the same image.
    EXPECT_EQ(groupEntries.Fields<IconEntry>(), entry);
    WORD id = groupEntries.Read<WORD>();
    EXPECT_TRUE(Resource(RT_ICON, MAKEINTRESOURCEA(id), kChinese) == image) << "icon resource " << id;
  }
}

TEST(Resources, VersionAndManifest) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::vector<char> version(GetFileVersionInfoSizeW(path, nullptr));
  ASSERT_TRUE(!version.empty() && GetFileVersionInfoW(path, 0, static_cast<DWORD>(version.size()), version.data()));
  auto query = [&](const std::wstring& key) -> const void* {
    void* value = nullptr;
    UINT length = 0;
    return VerQueryValueW(version.data(), key.c_str(), &value, &length) ? value : nullptr;
  };
  auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
  ASSERT_TRUE(fixed);
  EXPECT_EQ(std::make_tuple(fixed->dwFileVersionMS, fixed->dwFileVersionLS, fixed->dwProductVersionMS,
                            fixed->dwProductVersionLS),
            std::make_tuple(0x10000ul, 0ul, 0x10000ul, 0ul));  // 1.0.0.0
  auto* translation = static_cast<const DWORD*>(query(L"\\VarFileInfo\\Translation"));
  ASSERT_TRUE(translation);
  EXPECT_EQ(*translation, MAKELONG(0x0409, 1200));
  for (auto [key, text] : {std::pair(L"FileDescription", L"Zorvo云直链获取"), std::pair(L"ProductName", L"Zorvo云直链获取"),
                           std::pair(L"CompanyName", L"Quenlit"), std::pair(L"FileVersion", L"1.0.0.0"),
                           std::pair(L"ProductVersion", L"1.0.0.0")}) {
    EXPECT_STREQ(static_cast<const wchar_t*>(query(std::wstring(L"\\StringFileInfo\\040904B0\\") + key)), text) << key;
  }

  std::string_view manifest = Resource(RT_MANIFEST, CREATEPROCESS_MANIFEST_RESOURCE_ID);
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), manifest.npos);
  // The platform honours it: this process runs with the version 6 common
  // controls (Wine's report version 5 through DllGetVersion, so the module's
  // side-by-side folder tells).
  wchar_t commonControls[MAX_PATH] = L"";
  GetModuleFileNameW(LoadLibraryW(L"comctl32.dll"), commonControls, MAX_PATH);
  CharLowerW(commonControls);
  EXPECT_TRUE(wcsstr(commonControls, L"microsoft.windows.common-controls_6595b64144ccf1df_6."))
      << testing::PrintToString(std::wstring(commonControls));
}
