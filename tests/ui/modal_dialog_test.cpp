#include <algorithm>

#include "resources/test_dialogs.h"
#include "ui/dialogs/dialog_window.h"
#include "ui_test_support.h"

namespace {

int vetoesLeft = 0;

// Refuses the close while vetoes are left.
INT_PTR CALLBACK VetoWhileLeft(HWND) {
  events.push_back({"veto", {}});
  return vetoesLeft-- > 0;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

// Class, title, size and visibility.
std::wstring Describe(HWND window) {
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  RECT r{};
  GetWindowRect(window, &r);
  return ClassOf(window) + L" " + title + L" " + std::to_wstring(r.right - r.left) + L"x" +
         std::to_wstring(r.bottom - r.top) + (IsWindowVisible(window) ? L" visible" : L" hidden");
}

}  // namespace

TEST_F(WindowTest, ModalDialogRunsFromCreationToTheResultItClosesWith) {
  struct Row {
    const char* name;
    int templateId;
    const char* className;
    UINT closeMessage;
    WPARAM closeCommand;
    void (TopWindow::*setVeto)(Event::Notify::Handler);
    std::optional<INT_PTR> result;
    bool ownerClassRegistered;
  } rows[] = {
      {"WM_CLOSE, OnClose vetoes once", IDD_TEST_DIALOG, nullptr, WM_CLOSE, 0, &TopWindow::SetOnClose, 7, false},
      {"close box, OnUserClose vetoes once", IDD_TEST_DIALOG, nullptr, WM_SYSCOMMAND, SC_CLOSE,
       &TopWindow::SetOnUserClose, 9, false},
      {"class copy named by the template, no result set", IDD_CLASS_DIALOG, "UiTestDialogClass", WM_CLOSE, 0, nullptr,
       std::nullopt, false},
      {"hidden owner of the program's zyWindow class", IDD_TEST_DIALOG, nullptr, WM_CLOSE, 0, nullptr, 3, true},
      {"in-memory template", 0, nullptr, WM_CLOSE, 0, &TopWindow::SetOnClose, 4, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    events.clear();
    vetoesLeft = 1;
    if (row.ownerClassRegistered) {
      ASSERT_TRUE(RegisterTestClass(L"zyWindow", DefWindowProcW));
    }
    DialogWindow dialog;
    dialog.SetOnCreate(Recorder<Event::OnCreate>);
    dialog.SetOnSize(Recorder<Event::OnSize>);
    if (row.setVeto) (dialog.*row.setVeto)(VetoWhileLeft);
    if (row.result) dialog.DialogResult(*row.result);

    RECT client{};
    HWND owner = nullptr;
    std::wstring ownerSeen;
    bool openAfterFirstClose = false;
    INT_PTR result = DriveModal(
        dialog,
        [&] {
          return row.templateId ? dialog.ShowModalFromResource(std::nullopt, row.templateId, row.className)
                                : dialog.ShowModalFromTemplate(DialogLayout{}, "模板");
        },
        {[&](HWND window) {
           GetClientRect(window, &client);
           owner = GetWindow(window, GW_OWNER);
           if (owner) ownerSeen = Describe(owner);
           EXPECT_EQ(ClassOf(window), row.className ? L"UiTestDialogClass" : L"#32770");
           PostMessageW(window, row.closeMessage, row.closeCommand, 0);
         },
         [&](HWND window) {
           openAfterFirstClose = IsWindowVisible(window);
           PostMessageW(window, row.closeMessage, row.closeCommand, 0);
         }});

    EXPECT_EQ(result, row.result.value_or(0));
    EXPECT_EQ(openAfterFirstClose, row.setVeto != nullptr);
    EXPECT_EQ(std::ranges::count(events, "veto", &EventRecord::name), row.setVeto ? 2 : 0);
    // OnCreate first, then the layout pass with the client size.
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0], (EventRecord{"OnCreate", {}}));
    EXPECT_EQ(events[1], (EventRecord{"OnSize", {client.right, client.bottom}}));
    EXPECT_EQ(dialog.GetHandle(), nullptr);  // unbound: the object could show another dialog
    EXPECT_EQ(ownerSeen, row.ownerClassRegistered ? L"zyWindow ShowTaskbar 250x110 hidden" : L"");
    EXPECT_FALSE(IsWindow(owner));  // a hidden owner goes with its modal dialog
    UnregisterClassW(L"zyWindow", GetModuleHandleW(nullptr));
  }
}

TEST_F(WindowTest, EnterAndEscPressTheDefaultAndCancelButtons) {
  struct Row {
    const char* name;
    WPARAM key;
    bool withDefault, withCancel, escClose;
    std::vector<EventRecord> clicks;
    bool ends;
  } rows[] = {
      {"Enter without a default button", VK_RETURN, false, true, false, {}, false},
      {"Enter with a default button", VK_RETURN, true, true, false, {{"clicked", {IDC_DEFAULT_BUTTON}}}, false},
      {"Esc without a cancel button", VK_ESCAPE, true, false, false, {}, false},
      {"Esc with a cancel button", VK_ESCAPE, false, true, false, {{"clicked", {IDC_CANCEL_BUTTON}}}, false},
      {"Esc with a cancel button and EscClose", VK_ESCAPE, false, true, true, {{"clicked", {IDC_CANCEL_BUTTON}}}, true},
      {"Esc with EscClose only", VK_ESCAPE, false, false, true, {}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    events.clear();
    DialogWindow dialog;
    dialog.DialogResult(5);
    dialog.EscClose(row.escClose);
    dialog.SetOnWndMsg(RecordButtonClicks);
    WindowObject defaultButton, cancelButton;
    bool stillOpen = false;
    INT_PTR result = DriveModal(dialog, [&] { return dialog.ShowModalFromResource(std::nullopt, IDD_TEST_DIALOG); },
                                {[&](HWND window) {
                                   if (row.withDefault) StoreButton(dialog, "DefaultButton", defaultButton, IDC_DEFAULT_BUTTON);
                                   if (row.withCancel) StoreButton(dialog, "CancelButton", cancelButton, IDC_CANCEL_BUTTON);
                                   PostMessageW(GetDlgItem(window, IDC_TEST_EDIT), WM_KEYDOWN, row.key, 0);
                                 },
                                 [&](HWND window) {
                                   stillOpen = true;
                                   PostMessageW(window, WM_CLOSE, 0, 0);
                                 }});
    EXPECT_EQ(result, 5);
    EXPECT_EQ(stillOpen, !row.ends);
    EXPECT_EQ(events, row.clicks);
    // The window gave back the references it held.
    EXPECT_EQ(defaultButton.BindingRefCount(), 1);
    EXPECT_EQ(cancelButton.BindingRefCount(), 1);
  }
}
