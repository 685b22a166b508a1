#include "ui/fonts/font_object.h"

#include "runtime/codepage.h"
#include "runtime/text.h"
#include "ui/fonts/device_context.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Runs `use` with a graphics of `window`'s DC (the screen DC for no window);
// the graphics goes before the DC is released.
template <typename Use>
auto OnWindowGraphics(HWND window, Use use) {
  WindowDC dc(window);
  GraphicsObject graphics;
  graphics.CreateFromDC(dc.get());
  return use(static_cast<const GraphicsObject&>(graphics));
}

template <typename Use>
auto OnGraphicsOrScreen(const GraphicsObject* graphics, Use use) {
  return graphics ? use(*graphics) : OnWindowGraphics(nullptr, use);
}

template <typename Use>
auto OnDCOrScreen(HDC dc, Use use) {
  if (dc) return use(dc);
  WindowDC screen(nullptr);
  return use(screen.get());
}

template <typename LogFont, typename Get>
std::optional<LogFont> ReadLogFont(GpFont* font, const GraphicsObject* graphics, Get get) {
  return OnGraphicsOrScreen(graphics, [&](const GraphicsObject& on) -> std::optional<LogFont> {
    LogFont logFont{};
    if (get(font, on.Native(), &logFont) != Ok) return std::nullopt;
    return logFont;
  });
}

// A getter's value, or 0 when GDI+ refuses.
template <typename Value, typename Get>
Value Query(Get get) {
  Value value{};
  return get(&value) == Ok ? value : Value{};
}

}  // namespace

bool FontObject::CreateFromFamily(const FontFamilyObject& family, REAL size, INT style, Unit unit) {
  return Remake([&](GpFont** font) { return GdipCreateFont(family.Native(), size, style, unit, font) == Ok; });
}

bool FontObject::CreateFromDefaultGuiFont(HDC dc) {
  return CreateFromNativeFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), dc);
}

bool FontObject::CreateFontFromName(const char* name, REAL size, INT style, Unit unit) {
  return CreateFontFromName(GbkToWide(TextView(name)).c_str(), size, style, unit);
}

bool FontObject::CreateFontFromName(const wchar_t* name, REAL size, INT style, Unit unit) {
  FontCollectionObject installedFonts;  // no collection: the installed fonts are searched
  FontFamilyObject family;
  family.CreateFromName(name, installedFonts);
  return CreateFromFamily(family, size, style, unit);
}

bool FontObject::CreateFromDC(HDC dc) {
  return Remake([&](GpFont** font) { return GdipCreateFontFromDC(dc, font) == Ok; });
}

bool FontObject::CreateFromNativeFont(HFONT native, HDC dc) {
  // Anything but a font would leave the block zeroed, and GDI+ would make
  // the default font of it.
  LOGFONTW logFont{};
  if (GetObjectW(native, sizeof logFont, &logFont) != sizeof logFont) {
    Release();
    return false;
  }
  return CreateFromLogFont(logFont, dc);
}

bool FontObject::CreateFromLogFont(const LOGFONTA& logFont, HDC dc) {
  return Remake([&](GpFont** font) {
    return OnDCOrScreen(dc, [&](HDC on) { return GdipCreateFontFromLogfontA(on, &logFont, font) == Ok; });
  });
}

bool FontObject::CreateFromLogFont(const LOGFONTW& logFont, HDC dc) {
  return Remake([&](GpFont** font) {
    return OnDCOrScreen(dc, [&](HDC on) { return GdipCreateFontFromLogfontW(on, &logFont, font) == Ok; });
  });
}

FontObject FontObject::Clone() const {
  FontObject clone;
  clone.Remake([&](GpFont** font) { return GdipCloneFont(Native(), font) == Ok; });
  return clone;
}

NativeFont FontObject::ToNativeFont(const GraphicsObject* graphics) const {
  std::optional<LOGFONTW> logFont = LogFontW(graphics);
  return NativeFont(logFont ? CreateFontIndirectW(&*logFont) : nullptr);
}

std::optional<LOGFONTA> FontObject::LogFontA(const GraphicsObject* graphics) const {
  return ReadLogFont<LOGFONTA>(Native(), graphics, GdipGetLogFontA);
}

std::optional<LOGFONTW> FontObject::LogFontW(const GraphicsObject* graphics) const {
  return ReadLogFont<LOGFONTW>(Native(), graphics, GdipGetLogFontW);
}

FontFamilyObject FontObject::GetFamily() const {
  FontFamilyObject family;
  family.Adopt(Query<GpFontFamily*>([&](GpFontFamily** got) { return GdipGetFamily(Native(), got); }));
  return family;
}

INT FontObject::GetStyle() const {
  return Query<INT>([&](INT* style) { return GdipGetFontStyle(Native(), style); });
}

FontObject::REAL FontObject::GetSize() const {
  return Query<REAL>([&](REAL* size) { return GdipGetFontSize(Native(), size); });
}

FontObject::Unit FontObject::GetUnit() const {
  return Query<Unit>([&](Unit* unit) { return GdipGetFontUnit(Native(), unit); });
}

FontObject::REAL FontObject::GetHeight(const GraphicsObject* graphics) const {
  GpGraphics* on = graphics ? graphics->Native() : nullptr;
  return Query<REAL>([&](REAL* height) { return GdipGetFontHeight(Native(), on, height); });
}

FontObject::REAL FontObject::GetHeightGivenDpi(REAL dpi) const {
  return Query<REAL>([&](REAL* height) { return GdipGetFontHeightGivenDPI(Native(), dpi, height); });
}

NativeFont NativeFontForWindow(const FontObject& font, HWND window) {
  return OnWindowGraphics(window, [&](const GraphicsObject& graphics) { return font.ToNativeFont(&graphics); });
}
