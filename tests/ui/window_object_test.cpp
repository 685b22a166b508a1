#include "ui/core/window_object.h"
#include "ui/core/window_procedure.h"
#include "ui/fonts/font_object.h"
#include "ui_test_support.h"

namespace {

// The system keeps WS_EX_WINDOWEDGE only on windows with a thick or dialog
// frame, so a control shows the other two edges only.
constexpr DWORD kEdges = WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;

// A window class whose procedure binds its windows from the creation
// parameter, the way a toolkit class would.
LRESULT CALLBACK BindingClassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    static_cast<WindowBinding*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams)->Register(window);
  return WindowProcedure(window, message, wParam, lParam);
}

}  // namespace

TEST_F(WindowTest, ControlBorderCodesChangeTheFrameAtOnceWithoutMoving) {
  struct Row {
    int code;
    bool thinLine;
    DWORD edges;
  } rows[] = {{5, true, 0},
              {1, false, WS_EX_CLIENTEDGE},
              {3, false, WS_EX_STATICEDGE},
              {4, false, WS_EX_CLIENTEDGE},
              {0, false, 0},
              {9, false, 0}};
  WindowObject edit;
  ASSERT_TRUE(edit.AttachHandle(CreateChild(CreateHost(), L"Edit", L"", 3, WS_BORDER)));
  SetWindowLongW(edit.Handle(), GWL_EXSTYLE, WS_EX_CLIENTEDGE);
  RECT placed = edit.ScreenRect();
  int previous = 0;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(edit.SetBorder(row.code), previous);
    previous = row.code;
    EXPECT_EQ((edit.Style() & WS_BORDER) != 0, row.thinLine);
    EXPECT_EQ(edit.ExStyle() & kEdges, row.edges);
    RECT now = edit.ScreenRect();
    EXPECT_TRUE(EqualRect(&placed, &now));
    bool framed = row.thinLine || row.edges;
    EXPECT_EQ(edit.ClientWidth() < 120, framed);  // the frame was recomputed
  }
  EXPECT_EQ(edit.SetBorder(), 9);
}

TEST_F(WindowTest, CreationHandsTheBindingToTheNewWindowsProcedureAndFramesItByItsCode) {
  ASSERT_TRUE(RegisterTestClass(L"UiTestBinding", BindingClassProcedure));
  struct Row {
    int code;
    DWORD style, exStyle;
  } rows[] = {{0, WS_POPUP, 0},
              {3, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, WS_EX_TOOLWINDOW},
              {6, WS_CAPTION | WS_SYSMENU, WS_EX_CLIENTEDGE}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.code);
    WindowObject window;
    window.SetBorder(row.code);
    ASSERT_TRUE(window.CreateNative({.className = L"UiTestBinding", .width = 200, .height = 100,
                                     .style = WS_CAPTION | WS_THICKFRAME, .exStyle = WS_EX_TOOLWINDOW}));
    ASSERT_TRUE(WindowObject::IsBoundWindow(window.Handle()));
    EXPECT_FALSE(window.CreateNative({.className = L"UiTestBinding"}));  // bound already
    DWORD frameBits = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    EXPECT_EQ(window.Style() & frameBits, row.style);
    EXPECT_EQ(window.ExStyle() & (WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE), row.exStyle);
    DestroyWindow(window.Handle());
  }

  // An in-memory dialog: the binding reaches the dialog procedure.
  EmptyDialogTemplate dialogTemplate;
  WindowObject dialog;
  HWND made = dialog.CreateDialogFromTemplate(&dialogTemplate.header, nullptr, RecordingDialogProcedure);
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(dialog.Handle(), made);
  EXPECT_EQ(dialog.CreateDialogFromTemplate(&dialogTemplate.header, nullptr, RecordingDialogProcedure), nullptr);
  DestroyWindow(made);
  EXPECT_FALSE(WindowObject::IsBoundWindow(made));
}

// Each window gets a native font of its own, made on its DC, which it
// deletes when the next font comes and when it is destroyed; a font object
// without a font gives the system font.
TEST_F(WindowTest, EachWindowOwnsTheNativeFontMadeForIt) {
  FontObject font;
  ASSERT_TRUE(font.CreateFontFromName("WenQuanYi Micro Hei", 12, 0, Gdiplus::UnitWorld));
  HWND host = CreateHost();
  WindowObject first, second;
  ASSERT_TRUE(first.AttachHandle(CreateChild(host, L"Edit", L"", 1)));
  ASSERT_TRUE(second.AttachHandle(CreateChild(host, L"Edit", L"", 2)));
  auto nativeFont = [](const WindowObject& window) { return reinterpret_cast<HGDIOBJ>(window.GetProperty("hFont")); };

  first.SetFont(font);
  second.SetFont(font);
  HGDIOBJ firstFont = nativeFont(first), secondFont = nativeFont(second);
  ASSERT_NE(firstFont, nullptr);
  EXPECT_NE(firstFont, secondFont);
  EXPECT_EQ(first.Send(WM_GETFONT), reinterpret_cast<LRESULT>(firstFont));
  EXPECT_STREQ(second.GetFont().LogFontW()->lfFaceName, L"WenQuanYi Micro Hei");
  LOGFONTW made{};
  GetObjectW(secondFont, sizeof made, &made);
  EXPECT_EQ(made.lfHeight, -12);

  first.SetFont(font);
  EXPECT_EQ(GetObjectType(firstFont), 0u);
  HGDIOBJ replacement = nativeFont(first);
  EXPECT_EQ(GetObjectType(replacement), static_cast<DWORD>(OBJ_FONT));

  DestroyWindow(first.Handle());
  EXPECT_EQ(GetObjectType(replacement), 0u);
  EXPECT_FALSE(first.HasProperty("hFont"));
  EXPECT_EQ(GetObjectType(secondFont), static_cast<DWORD>(OBJ_FONT));

  second.SetFont(FontObject());
  EXPECT_EQ(GetObjectType(secondFont), 0u);
  EXPECT_EQ(second.Send(WM_GETFONT), 0);
  EXPECT_EQ(second.GetFont().Native(), nullptr);
}
