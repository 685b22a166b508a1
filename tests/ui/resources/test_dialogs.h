// Ids of the test dialogs (test_dialogs.rc), for the resource and the tests.
#pragma once

#define IDD_TEST_DIALOG 101
#define IDD_CLASS_DIALOG 102
#define IDC_TEST_EDIT 201
#define IDC_DEFAULT_BUTTON 202
#define IDC_CANCEL_BUTTON 203
